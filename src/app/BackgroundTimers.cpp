#include "app/BackgroundTimers.h"

#include "settings/SettingsKeys.h"

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

}  // namespace vedozer
