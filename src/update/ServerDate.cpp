#include "update/ServerDate.h"

#include "text/GeneralDate.h"

#include <cctype>

#include "text/Text.h"

namespace vedozer {

namespace {

// A small cursor over the date text.
struct Cursor {
    std::string_view s;
    size_t pos = 0;

    bool atEnd() const { return pos >= s.size(); }
    char peek() const { return atEnd() ? '\0' : s[pos]; }
    void skipBlanks() {
        while (!atEnd() && (s[pos] == ' ' || s[pos] == '\t')) ++pos;
    }
    // Up to maxDigits decimal digits; the count read goes to digits.
    std::optional<int> number(int maxDigits, int& digits) {
        int value = 0;
        digits = 0;
        while (!atEnd() && std::isdigit(static_cast<unsigned char>(s[pos]))) {
            if (digits == maxDigits) return std::nullopt;
            value = value * 10 + (s[pos] - '0');
            ++digits;
            ++pos;
        }
        if (digits == 0) return std::nullopt;
        return value;
    }
    bool accept(char c) {
        if (peek() != c) return false;
        ++pos;
        return true;
    }
};

int windowYear(int year, int digits) {
    if (digits > 2) return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

bool parseDatePart(Cursor& c, DateValue& d) {
    int digits1 = 0, digits2 = 0, digits3 = 0;
    auto a = c.number(4, digits1);
    if (!a) return false;
    char sep = c.peek();
    if (sep != '/' && sep != '-') return false;
    ++c.pos;
    auto b = c.number(2, digits2);
    if (!b || !c.accept(sep)) return false;
    auto e = c.number(4, digits3);
    if (!e) return false;
    if (digits1 == 4) {  // year first
        if (digits3 > 2) return false;
        d.year = *a;
        d.month = *b;
        d.day = *e;
    } else {
        // A year below 1000 is written with three digits, so three digits read back.
        if (digits1 > 2) return false;
        d.month = *a;
        d.day = *b;
        d.year = windowYear(*e, digits3);
    }
    return d.year >= 100 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= daysInMonth(d.year, d.month);
}

bool parseTimePart(Cursor& c, DateValue& d) {
    int digits = 0;
    auto h = c.number(2, digits);
    if (!h) return false;
    int minute = 0, second = 0;
    bool hasColon = false;
    if (c.accept(':')) {
        hasColon = true;
        auto m = c.number(2, digits);
        if (!m) return false;
        minute = *m;
        if (c.accept(':')) {
            auto sec = c.number(2, digits);
            if (!sec) return false;
            second = *sec;
        }
    }
    c.skipBlanks();
    int meridiem = 0;  // 1 AM, 2 PM
    if (c.pos + 2 <= c.s.size()) {
        std::string_view word = c.s.substr(c.pos, 2);
        if (text::iequals(word, "AM")) meridiem = 1;
        if (text::iequals(word, "PM")) meridiem = 2;
        if (meridiem) c.pos += 2;
    }
    if (!hasColon && !meridiem) return false;
    if (minute > 59 || second > 59) return false;
    int hour = *h;
    if (meridiem) {
        if (hour > 12) return false;
        hour = hour % 12 + (meridiem == 2 ? 12 : 0);
    } else if (hour > 23) {
        return false;
    }
    d.hour = hour;
    d.minute = minute;
    d.second = second;
    return true;
}

}  // namespace

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

std::optional<DateValue> ParseGeneralDate(std::string_view input) {
    std::string trimmed = text::trimWhitespace(input);
    Cursor c{trimmed};
    DateValue d;
    if (!parseDatePart(c, d)) return std::nullopt;
    if (c.peek() == 'T' || c.peek() == 't') {
        ++c.pos;
        if (!parseTimePart(c, d)) return std::nullopt;
    } else {
        c.skipBlanks();
        if (!c.atEnd() && !parseTimePart(c, d)) return std::nullopt;
    }
    c.skipBlanks();
    if (!c.atEnd()) return std::nullopt;
    return d;
}

std::string FormatGeneralDate(const DateValue& d) {
    return generalDateTime(LocalTime{d.year, d.month, d.day, d.hour, d.minute, d.second, 0});
}

std::string NormaliseServerDate(std::string_view input) {
    std::string s = text::trim(input);
    std::string cleaned;
    cleaned.reserve(s.size());
    for (char ch : s) {
        if (ch != '\t' && ch != '\r' && ch != '\n') cleaned += ch;
    }
    size_t at = text::ifind(cleaned, "PM");
    if (at == std::string::npos) at = text::ifind(cleaned, "AM");
    if (at != std::string::npos) cleaned.erase(at + 2);
    return cleaned;
}

}  // namespace vedozer
