#include "protection/Schedule.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <vector>

#include "protection/BackgroundTimers.h"
#include "settings/SettingsKeys.h"
#include "text/Text.h"

namespace vedozer {

namespace {

constexpr std::array<const char*, kScheduleDayCount> kDayNames{
    "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday", "Daily", "Date & Time", "Never!"};

// Whole numbers separated by any of the separators; nothing when another character appears.
std::optional<std::vector<int>> numbers(std::string_view s, std::string_view separators) {
    std::vector<int> out;
    size_t i = 0;
    while (i <= s.size()) {
        size_t j = s.find_first_of(separators, i);
        if (j == std::string_view::npos) j = s.size();
        std::string_view part = s.substr(i, j - i);
        int v = 0;
        auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), v);
        if (part.empty() || ec != std::errc() || end != part.data() + part.size()) return std::nullopt;
        out.push_back(v);
        i = j + 1;
    }
    return out;
}

bool leapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leapYear(y) ? 29 : kDays[m - 1];
}

std::optional<CalendarDate> validDate(int y, int m, int d) {
    if (y < 1601 || y > 9999 || m < 1 || m > 12 || d < 1 || d > daysInMonth(y, m)) return std::nullopt;
    return CalendarDate{y, m, d};
}

}  // namespace

const char* scheduleDayName(int index) {
    return index >= 0 && index < kScheduleDayCount ? kDayNames[static_cast<size_t>(index)] : "";
}

std::string formatScheduleTime(const TimeOfDay& t) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return buf;
}

std::string formatScheduleDate(const CalendarDate& d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.day, d.month, d.year);
    return buf;
}

std::optional<TimeOfDay> parseScheduleTime(std::string_view text) {
    std::string t = text::toUpper(text::trimWhitespace(text));
    int shift = -1;  // 0 before noon, 12 after, -1 on the 24-hour clock
    for (auto [suffix, hours] : {std::pair{"AM", 0}, std::pair{"PM", 12}}) {
        if (t.size() > 2 && t.compare(t.size() - 2, 2, suffix) == 0) {
            shift = hours;
            t = text::trimWhitespace(t.substr(0, t.size() - 2));
        }
    }
    auto n = numbers(t, ":");
    if (!n || n->size() < 2 || n->size() > 3) return std::nullopt;
    TimeOfDay time{(*n)[0], (*n)[1], n->size() == 3 ? (*n)[2] : 0};
    if (shift >= 0) {
        if (time.hour < 1 || time.hour > 12) return std::nullopt;
        time.hour = time.hour % 12 + shift;
    }
    if (time.hour < 0 || time.hour > 23 || time.minute < 0 || time.minute > 59 || time.second < 0 || time.second > 59)
        return std::nullopt;
    return time;
}

std::optional<CalendarDate> parseScheduleDate(std::string_view text) {
    std::string t = text::trimWhitespace(text);
    // A stored date and time ("25/12/2006 00:00:00") keeps its date.
    t = t.substr(0, t.find(' '));
    if (auto iso = numbers(t, "-"); iso && iso->size() == 3 && (*iso)[0] > 31)
        return validDate((*iso)[0], (*iso)[1], (*iso)[2]);
    auto n = numbers(t, "/.-");
    if (!n || n->size() != 3) return std::nullopt;
    int a = (*n)[0], b = (*n)[1];
    // Day first, unless the first part cannot be a day of that month and the second can.
    if (a <= 12 && b > 12) std::swap(a, b);
    return validDate((*n)[2], b, a);
}

Schedule readSchedule(const Settings& settings) {
    Schedule s;
    s.enabled = settingNumber(settings.get(skey::OptionAndSettings, skey::scheduledScanOn, "0")) != 0;
    std::string day = text::trimWhitespace(settings.get(skey::OptionAndSettings, skey::Day, "7"));
    int value = -1;
    auto [end, ec] = std::from_chars(day.data(), day.data() + day.size(), value);
    s.day = ec == std::errc() && end == day.data() + day.size() ? value : -1;
    s.time = parseScheduleTime(settings.get(skey::OptionAndSettings, skey::Time, kNoScheduleValue));
    s.date = parseScheduleDate(settings.get(skey::OptionAndSettings, skey::Date, kNoScheduleValue));
    s.autoDelete = settingNumber(settings.get(skey::Settings, skey::autoDelete, "0")) == 1;
    return s;
}

int64_t daysFromDate(const CalendarDate& date) {
    // The civil-calendar day count in eras of 400 years.
    int64_t y = date.year - (date.month <= 2 ? 1 : 0);
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yoe = y - era * 400;
    int64_t mp = (date.month + 9) % 12;
    int64_t doy = (153 * mp + 2) / 5 + date.day - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CalendarDate dateFromDays(int64_t days) {
    days += 719468;
    int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    int64_t doe = days - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    int y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
    return {y, m, d};
}

int weekdayOf(int64_t days) { return static_cast<int>(((days % 7) + 11) % 7); }  // 1970-01-01 was a Thursday

int64_t wallSeconds(const LocalTime& t) {
    return daysFromDate({t.year, t.month, t.day}) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

bool scheduleNamesDay(const Schedule& schedule, const CalendarDate& date) {
    if (schedule.day >= 0 && schedule.day <= 6) {
        // Compared by number, so a system whose weekday names are not English matches as well.
        int mondayFirst = (weekdayOf(daysFromDate(date)) + 6) % 7;
        return mondayFirst == schedule.day;
    }
    if (schedule.day == static_cast<int>(ScheduleDay::Daily)) return true;
    if (schedule.day == static_cast<int>(ScheduleDay::DateAndTime)) return schedule.date && *schedule.date == date;
    return false;
}

std::optional<int64_t> scheduledStart(const Schedule& schedule, const CalendarDate& date) {
    if (!schedule.time || !scheduleNamesDay(schedule, date)) return std::nullopt;
    const TimeOfDay& t = *schedule.time;
    return daysFromDate(date) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

}  // namespace vedozer
