#pragma once
#include <array>
#include <string>
#include <vector>

#include "app/Session.h"
#include "app/presenters/Navigator.h"
#include "app/presenters/OptionsPageView.h"
#include "settings/Options.h"

namespace vedozer {

class SchedulePresenter;

// What this system offers beside scanning.
struct DesktopFeatures {
    // Real-time protection (shields, scheduler): only on a running Windows system.
    bool protection = true;
    // Run at start-up through the machine's Run key: only on a running Windows system.
    bool runAtStartup = true;
    // The notification-area icon the window can be sent to: only where the program protects the
    // system it runs on.
    bool tray = true;
};

// The options page. Every option is saved the moment it changes, under its stored key: check
// boxes as "0"/"1", option pairs as both keys "True"/"False". Turning a shield or the schedule
// on or off also switches its timer.
class OptionsPagePresenter {
public:
    OptionsPagePresenter(Session& session, OptionsPageView& view, Navigator& navigator, DesktopFeatures features,
                         ProgramLocation program);

    void applyLanguage();
    // Fills the page from the settings (recording SHOW = "True" and, on the first run,
    // ranOneTime); returns what was read, column widths and the maximised state included.
    Options fill(int resultsColumnCount);

    // The person changed a control: a check box to `checked`, or selected an option button
    // (checked true; the toolkit's unchecking of the other button of a pair is ignored).
    void optionClicked(OptionControl control, bool checked);
    void tabSelected(int index);
    // The schedule's own controls: "Enable Scheduled Scans" and "Delete spyware automatically"
    // then belong to it (the schedule is stored by its Apply).
    void setSchedule(SchedulePresenter* schedule) { m_schedule = schedule; }

    bool option(OptionControl control) const { return m_checked[static_cast<size_t>(control)]; }
    bool optionEnabled(OptionControl control) const { return m_enabled[static_cast<size_t>(control)]; }
    int tab() const { return m_tab; }

private:
    void set(OptionControl control, bool checked);
    void enable(OptionControl control, bool enabled);
    void memoryShield(bool on);
    void homePageShield(bool on);
    void runAtStartup(bool on);

    Session& m_session;
    OptionsPageView& m_view;
    Navigator& m_navigator;
    DesktopFeatures m_features;
    ProgramLocation m_program;
    SchedulePresenter* m_schedule = nullptr;
    std::array<bool, kOptionControlCount> m_checked{};
    std::array<bool, kOptionControlCount> m_enabled{};
    int m_tab = 0;
};

}  // namespace vedozer
