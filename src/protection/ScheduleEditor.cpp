#include "protection/ScheduleEditor.h"

#include "settings/SettingValues.h"
#include "settings/SettingsKeys.h"

namespace vedozer {

ScheduleEditor::ScheduleEditor(Settings& settings, BackgroundTimers& timers) : m_settings(settings), m_timers(timers) {}

void ScheduleEditor::load() {
    ScheduleControls c;
    c.autoDelete = m_settings.get(skey::Settings, skey::autoDelete, "0") == "1";
    // The box shows what is stored: an unticked schedule stays unticked after Apply.
    c.enabled = settingNumber(m_settings.get(skey::OptionAndSettings, skey::scheduledScanOn, "0")) != 0;
    m_controls = c;
    if (m_settings.get(skey::OptionAndSettings, skey::Day, "None") == "None") {
        // Never applied: "Daily", controls as the box says.
        enabledClicked(c.enabled);
        m_controls.applyEnabled = false;
        return;
    }
    Schedule s = readSchedule(m_settings);
    m_controls.day = s.day >= 0 && s.day < kScheduleDayCount ? s.day : static_cast<int>(ScheduleDay::Daily);
    m_controls.date.value = s.date;
    m_controls.time.value = s.time;
    enabledClicked(c.enabled);
    m_controls.applyEnabled = false;
}

void ScheduleEditor::enabledClicked(bool ticked) {
    m_controls.enabled = ticked;
    m_controls.dayListEnabled = ticked;
    if (ticked) {
        pickersForDay();
    } else {
        m_controls.date.enabled = false;
        m_controls.time.enabled = false;
    }
    m_controls.applyEnabled = true;
}

void ScheduleEditor::daySelected(int index) {
    if (index < 0 || index >= kScheduleDayCount) return;
    m_controls.day = index;
    pickersForDay();
    m_controls.applyEnabled = true;
}

void ScheduleEditor::pickersForDay() {
    if (m_controls.day == static_cast<int>(ScheduleDay::DateAndTime)) {
        m_controls.date.enabled = true;
        m_controls.time.enabled = true;
    } else if (m_controls.day == static_cast<int>(ScheduleDay::Never)) {
        m_controls.date = {};
        m_controls.time = {};
    } else {
        m_controls.date = {};
        m_controls.time.enabled = true;
    }
}

void ScheduleEditor::dateChanged(std::optional<CalendarDate> date) {
    m_controls.date.value = date;
    m_controls.applyEnabled = true;
}

void ScheduleEditor::timeChanged(std::optional<TimeOfDay> time) {
    m_controls.time.value = time;
    m_controls.applyEnabled = true;
}

void ScheduleEditor::autoDeleteClicked(bool ticked) {
    m_controls.autoDelete = ticked;
    m_settings.saveCheckBox(skey::Settings, skey::autoDelete, ticked);
}

ScheduleApplied ScheduleEditor::applyClicked() {
    const ScheduleControls& c = m_controls;
    if (c.day == static_cast<int>(ScheduleDay::DateAndTime) && (!c.date.value || !c.time.value))
        return ScheduleApplied::DateMissing;
    ScheduleApplied result = ScheduleApplied::Saved;
    bool ok = m_settings.saveCheckBox(skey::OptionAndSettings, skey::scheduledScanOn, c.enabled);
    if (ok && settingNumber(m_settings.get(skey::OptionAndSettings, skey::scheduledScanOn, "0")) != 1) {
        result = ScheduleApplied::Disabled;
    } else if (ok) {
        ok = m_settings.save(skey::OptionAndSettings, skey::Day, std::to_string(c.day)) &&
             m_settings.save(skey::OptionAndSettings, skey::Time,
                             c.time.value ? formatScheduleTime(*c.time.value) : kNoScheduleValue) &&
             m_settings.save(skey::OptionAndSettings, skey::Date,
                             c.date.value ? formatScheduleDate(*c.date.value) : kNoScheduleValue);
    }
    if (!ok) result = ScheduleApplied::NotSaved;
    m_timers.optionsChanged();
    load();
    return result;
}

}  // namespace vedozer
