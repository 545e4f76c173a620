#include "protection/Scheduler.h"

namespace vedozer {

Scheduler::Scheduler(const Settings& settings, Clock* clock, std::function<void(bool)> startScan)
    : m_settings(settings), m_clock(clock), m_startScan(std::move(startScan)) {}

bool Scheduler::check() {
    if (!m_clock) return false;
    const Schedule schedule = readSchedule(m_settings);
    const LocalTime now = m_clock->now();
    const int64_t nowSeconds = wallSeconds(now);
    const int64_t today = daysFromDate({now.year, now.month, now.day});
    // Yesterday too: a start at 23:59:50 may be met just after midnight.
    for (int64_t day : {today, today - 1}) {
        std::optional<int64_t> start = scheduledStart(schedule, dateFromDays(day));
        if (!start || nowSeconds < *start || nowSeconds - *start >= kLateStartSeconds) continue;
        if (m_lastStart == *start) return false;
        m_lastStart = *start;  // before the scan: its events may tick this timer again
        m_unattended = schedule.autoDelete;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{m_unattended};
        if (m_startScan) m_startScan(schedule.autoDelete);
        return true;
    }
    return false;
}

}  // namespace vedozer
