#include "protection/BackgroundTimers.h"

#include <cstdlib>

#include "settings/KnownSettings.h"
#include "settings/SettingsKeys.h"
#include "text/Text.h"

namespace vedozer {

double settingNumber(const std::string& value) {
    std::string t = text::trimWhitespace(value);
    if (t.empty()) return 0;
    char* end = nullptr;
    double v = std::strtod(t.c_str(), &end);
    return end == t.c_str() + t.size() ? v : 0;
}

BackgroundTimers::BackgroundTimers(const Settings& settings) : m_settings(settings) {}

void BackgroundTimers::set(bool on) {
    if (!on)
        ++m_holds;
    else if (m_holds > 0)
        --m_holds;
    apply();
}

void BackgroundTimers::setWindowState(WindowState state) {
    m_windowState = state;
    apply();
}

void BackgroundTimers::armAutomaticUpdate() {
    // The options page shows the same default: a box ticked on a fresh installation arms it.
    const KnownSetting* known = findKnownSetting(skey::OptionAndSettings, skey::automaticUpdate);
    const char* fallback = known ? known->defaultValue : "0";
    if (settingNumber(m_settings.get(skey::OptionAndSettings, skey::automaticUpdate, fallback)) == 1)
        automaticUpdate.setEnabled(true);
}

void BackgroundTimers::apply() {
    const bool free = m_holds == 0;
    const bool scheduled = settingNumber(m_settings.get(skey::OptionAndSettings, skey::scheduledScanOn, "0")) != 0;
    const bool homePage = m_settings.getBool(skey::OptionAndSettings, skey::homePageShieldOn, true);
    const bool memory = m_settings.getBool(skey::OptionAndSettings, skey::memoryShieldOn, true);
    const bool behind = m_windowState != WindowState::Normal;
    scheduler.setEnabled(free && scheduled && behind);
    homePageCheck.setEnabled(free && homePage);
    memoryShield.setEnabled(free && memory && behind);
}

}  // namespace vedozer
