#include "app/presenters/OptionsPagePresenter.h"

#include "app/presenters/SchedulePresenter.h"
#include "settings/SettingsKeys.h"

namespace vedozer {

namespace {

using O = OptionControl;

// The check boxes saved as "0"/"1" under their own key, and their sections.
struct CheckBoxKey {
    OptionControl control;
    const char* section;
    const char* key;
};
constexpr CheckBoxKey kCheckBoxes[] = {
    {O::WriteReport, skey::OptionAndSettings, skey::writeReport},
    {O::ScanMemory, skey::OptionAndSettings, skey::scanMemory},
    {O::ScanRegistry, skey::OptionAndSettings, skey::scanRegistry},
    {O::ScanCookies, skey::OptionAndSettings, skey::scanCookies},
    {O::AutomaticUpdate, skey::OptionAndSettings, skey::automaticUpdate},
    {O::ScheduledScan, skey::OptionAndSettings, skey::scheduledScanOn},
    {O::AutoDelete, skey::Settings, skey::autoDelete},
};

constexpr OptionControl kProtectionControls[] = {
    O::ScheduledScan,    O::AutoDelete,        O::MemoryShieldOn, O::MemoryShieldOff,
    O::MemoryShieldCheck, O::HomePageShieldOn, O::HomePageShieldOff, O::HomePageShieldCheck,
    O::HomePageAsk,      O::HomePageSilent,
};

}  // namespace

OptionsPagePresenter::OptionsPagePresenter(Session& session, OptionsPageView& view, Navigator& navigator,
                                           DesktopFeatures features, ProgramLocation program)
    : m_session(session), m_view(view), m_navigator(navigator), m_features(features), m_program(std::move(program)) {
    m_enabled.fill(true);
}

void OptionsPagePresenter::applyLanguage() {
    for (CaptionId id : captionsOf(CaptionGroup::OptionsPage))
        m_view.setCaption(id, captionText(m_session.languages(), id));
}

Options OptionsPagePresenter::fill(int resultsColumnCount) {
    Settings& s = m_session.settings();
    Options o = readOptions(s, {}, resultsColumnCount);
    set(O::HomePageShieldOn, o.homePageShieldOn);
    set(O::HomePageShieldOff, o.homePageShieldOff);
    set(O::HomePageShieldCheck, o.homePageShieldChecked);
    set(O::WriteReport, o.writeReport);
    set(O::HomePageAsk, o.homePageAskBeforeRestoring);
    set(O::HomePageSilent, o.homePageRestoreSilently);
    set(O::MemoryShieldOn, o.memoryShieldOn);
    set(O::MemoryShieldOff, o.memoryShieldOff);
    set(O::MemoryShieldCheck, o.memoryShieldChecked);
    set(O::ScanMemory, o.scanMemory);
    set(O::ScanRegistry, o.scanRegistry);
    set(O::RunAtStartup, o.runAtStartup);
    set(O::ScanCookies, o.scanCookies);
    set(O::SendData, o.sendAnonymousData);
    set(O::ScheduledScan, o.scheduledScanOn);
    set(O::AutoDelete, s.getBool(skey::Settings, skey::autoDelete, false));
    set(O::AutomaticUpdate, o.automaticUpdate);
    m_view.setScheduleControlsEnabled(o.scheduleControlsEnabled);
    enable(O::HomePageAsk, o.homePageShieldOn);
    enable(O::HomePageSilent, o.homePageShieldOn);

    for (OptionControl c : kProtectionControls) m_view.setOptionVisible(c, m_features.protection);
    m_view.setOptionVisible(O::RunAtStartup, m_features.runAtStartup);
    m_view.showProtectionNote(!m_features.protection);
    m_view.showTab(m_tab);
    return o;
}

void OptionsPagePresenter::optionClicked(OptionControl control, bool checked) {
    if (m_schedule && (control == O::ScheduledScan || control == O::AutoDelete)) {
        m_checked[static_cast<size_t>(control)] = checked;
        if (control == O::ScheduledScan)
            m_schedule->enabledClicked(checked);
        else
            m_schedule->autoDeleteClicked(checked);
        return;
    }
    Settings& s = m_session.settings();
    for (const CheckBoxKey& box : kCheckBoxes) {
        if (box.control != control) continue;
        set(control, checked);
        s.saveCheckBox(box.section, box.key, checked);
        if (control == O::ScheduledScan) {
            m_session.timers().optionsChanged();
            m_view.setScheduleControlsEnabled(checked);
        }
        return;
    }
    switch (control) {
        case O::SendData:
            // Clearing the box asks first; No ticks it again.
            set(O::SendData, m_session.setSendAnonymousData(checked));
            break;
        case O::RunAtStartup: runAtStartup(checked); break;
        case O::MemoryShieldOn:
        case O::MemoryShieldOff:
            if (checked) memoryShield(control == O::MemoryShieldOn);
            break;
        case O::MemoryShieldCheck: memoryShield(checked); break;
        case O::HomePageShieldOn:
        case O::HomePageShieldOff:
            if (checked) homePageShield(control == O::HomePageShieldOn);
            break;
        case O::HomePageShieldCheck: homePageShield(checked); break;
        case O::HomePageAsk:
        case O::HomePageSilent:
            if (!checked) break;
            set(O::HomePageAsk, control == O::HomePageAsk);
            set(O::HomePageSilent, control == O::HomePageSilent);
            if (control == O::HomePageAsk)
                s.saveOptionPair(skey::OptionAndSettings, skey::homePageAskBeforeRestoring, skey::homePageRestoreSilently);
            else
                s.saveOptionPair(skey::OptionAndSettings, skey::homePageRestoreSilently, skey::homePageAskBeforeRestoring);
            break;
        default: break;
    }
}

void OptionsPagePresenter::tabSelected(int index) {
    if (index < 0 || index >= kOptionsTabCount) return;
    m_tab = index;
    m_view.showTab(index);
}

void OptionsPagePresenter::memoryShield(bool on) {
    // The option pair and the check box show the same setting.
    set(O::MemoryShieldOn, on);
    set(O::MemoryShieldOff, !on);
    set(O::MemoryShieldCheck, on);
    Settings& s = m_session.settings();
    if (on)
        s.saveOptionPair(skey::OptionAndSettings, skey::memoryShieldOn, skey::memoryShieldOff);
    else
        s.saveOptionPair(skey::OptionAndSettings, skey::memoryShieldOff, skey::memoryShieldOn);
    m_session.timers().optionsChanged();
    m_navigator.refreshStatus();
}

void OptionsPagePresenter::homePageShield(bool on) {
    set(O::HomePageShieldOn, on);
    set(O::HomePageShieldOff, !on);
    set(O::HomePageShieldCheck, on);
    Settings& s = m_session.settings();
    if (on)
        s.saveOptionPair(skey::OptionAndSettings, skey::homePageShieldOn, skey::homePageShieldOff);
    else
        s.saveOptionPair(skey::OptionAndSettings, skey::homePageShieldOff, skey::homePageShieldOn);
    m_session.timers().optionsChanged();
    enable(O::HomePageAsk, on);
    enable(O::HomePageSilent, on);
    m_navigator.refreshStatus();
}

void OptionsPagePresenter::runAtStartup(bool on) {
    Outcome o = m_session.setRunAtStartup(on, m_program);
    if (!o.failed()) {
        set(O::RunAtStartup, on);
        return;
    }
    set(O::RunAtStartup, !on);
    m_session.host().onNotice(Notice{NoticeKind::Warning, captionText(m_session.languages(), CaptionId::RunAtStartupDenied) +
                                                              " (" + o.reason + ")"});
}

void OptionsPagePresenter::set(OptionControl control, bool checked) {
    m_checked[static_cast<size_t>(control)] = checked;
    m_view.setOption(control, checked);
}

void OptionsPagePresenter::enable(OptionControl control, bool enabled) {
    m_enabled[static_cast<size_t>(control)] = enabled;
    m_view.setOptionEnabled(control, enabled);
}

}  // namespace vedozer
