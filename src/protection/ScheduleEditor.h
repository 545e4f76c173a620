#pragma once
#include <optional>
#include <string>

#include "protection/BackgroundTimers.h"
#include "protection/Schedule.h"
#include "settings/Settings.h"

namespace vedozer {

// A date or time picker: its value (none when left empty) and whether it can be changed.
template <class Value>
struct SchedulePicker {
    std::optional<Value> value;
    bool enabled = false;
    bool operator==(const SchedulePicker&) const = default;
};

// The schedule controls of the options page, without a toolkit: "Enable Scheduled Scans", the
// day list, the date and time pickers, "Delete spyware automatically after scheduled scan" and
// "Apply". A view copies this state to its controls and forwards changes to the calls below.
struct ScheduleControls {
    bool enabled = false;  // the "Enable Scheduled Scans" box
    int day = static_cast<int>(ScheduleDay::Daily);
    bool dayListEnabled = false;
    SchedulePicker<CalendarDate> date;
    SchedulePicker<TimeOfDay> time;
    bool autoDelete = false;
    bool applyEnabled = false;
    bool operator==(const ScheduleControls&) const = default;
};

// What Apply did.
enum class ScheduleApplied {
    Saved,         // the schedule is stored and its timer follows it
    Disabled,      // scheduled scans are off (only that was stored)
    DateMissing,   // "Date & Time" without a date or a time: nothing stored; MSG_DATE tells the person
    NotSaved,      // the settings store refused a value
};

class ScheduleEditor {
public:
    ScheduleEditor(Settings& settings, BackgroundTimers& timers);

    // Fills the controls from the settings. An empty picker is shown empty; today is what a date
    // picker offers first.
    void load();
    const ScheduleControls& controls() const { return m_controls; }

    void enabledClicked(bool ticked);
    void daySelected(int index);
    void dateChanged(std::optional<CalendarDate> date);
    void timeChanged(std::optional<TimeOfDay> time);
    // Saved at once (Settings/chkAutoDel).
    void autoDeleteClicked(bool ticked);
    // Apply: stores the schedule, switches the scheduler's timer and fills the controls again.
    ScheduleApplied applyClicked();

private:
    void pickersForDay();

    Settings& m_settings;
    BackgroundTimers& m_timers;
    ScheduleControls m_controls;
};

}  // namespace vedozer
