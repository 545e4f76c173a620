#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace vedozer {

// A wall-clock date and time as the definition server and date.dat carry it (no time zone:
// the server's dates are shown with " PST" and compared as they are).
struct DateValue {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;

    auto operator<=>(const DateValue&) const = default;
    bool operator==(const DateValue&) const = default;
};

// Reads a date in the United States general format and its close relatives:
// "M/d/yyyy", "M/d/yyyy h:mm:ss AM", "M/d/yy h:mm PM", "M-d-yyyy H:mm:ss", "yyyy-M-d H:mm[:ss]".
// Two-digit years 00-29 are 2000-2029, 30-99 are 1930-1999. Anything else, or a value that is
// not a real calendar date or time, gives nothing.
std::optional<DateValue> ParseGeneralDate(std::string_view text);

// "M/d/yyyy h:mm:ss AM"; a time of exactly midnight is not written ("3/16/2006").
std::string FormatGeneralDate(const DateValue& date);

// Trims blanks, removes tabs, CR and LF, and cuts the text just after its first "PM" (any case),
// or when it has none, after its first "AM". Text with neither passes unchanged.
std::string NormaliseServerDate(std::string_view text);

bool isLeapYear(int year);
int daysInMonth(int year, int month);

}  // namespace vedozer
