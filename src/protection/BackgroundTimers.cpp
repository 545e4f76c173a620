#include "protection/BackgroundTimers.h"

#include <cstdlib>

#include "settings/SettingsKeys.h"
#include "text/Text.h"

namespace vedozer {

BackgroundTimers::BackgroundTimers(const Settings& settings) : m_settings(settings) {}

void BackgroundTimers::set(bool on) {
    if (!on) {
        homePageCheck.setEnabled(false);
        memoryShield.setEnabled(false);
        scheduler.setEnabled(false);
        return;
    }
    scheduler.setEnabled(m_settings.getBool(skey::OptionAndSettings, skey::scheduledScanOn, false));
    homePageCheck.setEnabled(m_settings.getBool(skey::OptionAndSettings, skey::homePageShieldOn, true));
    memoryShield.setEnabled(m_settings.getBool(skey::OptionAndSettings, skey::memoryShieldOn, true));
}

void BackgroundTimers::setWindowState(WindowState state) {
    m_state = state;
    if (state == WindowState::Normal) {
        scheduler.setEnabled(false);
        memoryShield.setEnabled(false);
    } else {
        set(true);
    }
}

void BackgroundTimers::optionsChanged() {
    set(true);
    if (m_state == WindowState::Normal) setWindowState(m_state);
}

void BackgroundTimers::armAutomaticUpdate() {
    std::string v = text::trimWhitespace(m_settings.get(skey::OptionAndSettings, skey::automaticUpdate, "0"));
    char* end = nullptr;
    double n = std::strtod(v.c_str(), &end);
    if (!v.empty() && end == v.c_str() + v.size() && n == 1.0) automaticUpdate.setEnabled(true);
}

}  // namespace vedozer
