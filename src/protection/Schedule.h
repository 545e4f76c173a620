#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "settings/Settings.h"

namespace vedozer {

// The stored Day value: the index of the day list.
enum class ScheduleDay {
    Monday = 0, Tuesday, Wednesday, Thursday, Friday, Saturday, Sunday,
    Daily = 7,
    DateAndTime = 8,  // the stored date at the stored time
    Never = 9,
};
inline constexpr int kScheduleDayCount = 10;
// "Monday" ... "Sunday", "Daily", "Date & Time", "Never!", as the day list shows them.
const char* scheduleDayName(int index);

struct TimeOfDay {
    int hour = 0, minute = 0, second = 0;
    bool operator==(const TimeOfDay&) const = default;
};

struct CalendarDate {
    int year = 2000, month = 1, day = 1;
    bool operator==(const CalendarDate&) const = default;
};

// Stored forms: the time as "hh:mm:ss" (24-hour clock), the date as "dd/MM/yyyy", "Null" for a
// picker left without a value.
inline constexpr char kNoScheduleValue[] = "Null";
std::string formatScheduleTime(const TimeOfDay& time);
std::string formatScheduleDate(const CalendarDate& date);
// Reads what the stored forms hold, and also "h:mm[:ss] AM/PM", "hh:mm", "MM/dd/yyyy" when the
// day cannot be a month, and "yyyy-MM-dd". "Null", an empty or malformed text: nothing.
std::optional<TimeOfDay> parseScheduleTime(std::string_view text);
std::optional<CalendarDate> parseScheduleDate(std::string_view text);

// The schedule as the scheduler reads it from the settings.
struct Schedule {
    bool enabled = false;             // chkAutomaticScanYesOrNo, a number other than 0
    int day = 7;                      // Day, 7 ("Daily") when not stored; -1 when not a number
    std::optional<TimeOfDay> time;    // Time
    std::optional<CalendarDate> date; // Date
    bool autoDelete = false;          // Settings/chkAutoDel reads as 1
};
Schedule readSchedule(const Settings& settings);

// Days since 1970-01-01 of a calendar date, and back; the weekday of a day (0 Sunday).
int64_t daysFromDate(const CalendarDate& date);
CalendarDate dateFromDays(int64_t days);
int weekdayOf(int64_t days);
// Seconds since 1970-01-01 00:00:00 of a wall-clock time.
int64_t wallSeconds(const LocalTime& time);

// Whether the schedule names that day, whatever the time.
bool scheduleNamesDay(const Schedule& schedule, const CalendarDate& date);
// The wall-clock second at which the schedule starts a scan on that day, when it does.
std::optional<int64_t> scheduledStart(const Schedule& schedule, const CalendarDate& date);

}  // namespace vedozer
