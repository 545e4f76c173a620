#include "settings/Options.h"

#include <charconv>

#include "settings/KnownSettings.h"
#include "settings/SettingValues.h"
#include "settings/SettingsKeys.h"

namespace vedozer {

namespace {

// Option buttons of one group: setting one clears the other, so the button set last wins.
void setPair(bool& first, bool& second, bool firstValue, bool secondValue) {
    if (firstValue) {
        first = true;
        second = false;
    } else {
        first = false;
    }
    if (secondValue) {
        second = true;
        first = false;
    }
}

int parseWidth(const std::string& value) {
    int n = 0;
    auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (ec != std::errc() || end != value.data() + value.size() || n < 0) return kDefaultColumnWidthTwips;
    return n;
}

}  // namespace

Options readOptions(Settings& s, const std::vector<std::string>& driveTexts, int columnCount) {
    Options o;
    s.save(skey::OptionAndSettings, skey::SHOW, "True");

    bool homeOn = s.getBool(skey::OptionAndSettings, skey::homePageShieldOn, true);
    o.homePageShieldChecked = homeOn;
    bool homeOff = s.getBool(skey::OptionAndSettings, skey::homePageShieldOff, false);
    setPair(o.homePageShieldOn, o.homePageShieldOff, homeOn, homeOff);

    o.writeReport = s.getBool(skey::OptionAndSettings, skey::writeReport, true);
    bool ask = s.getBool(skey::OptionAndSettings, skey::homePageAskBeforeRestoring, true);
    bool silent = s.getBool(skey::OptionAndSettings, skey::homePageRestoreSilently, false);
    setPair(o.homePageAskBeforeRestoring, o.homePageRestoreSilently, ask, silent);

    bool memOn = s.getBool(skey::OptionAndSettings, skey::memoryShieldOn, true);
    o.memoryShieldChecked = memOn;
    bool memOff = s.getBool(skey::OptionAndSettings, skey::memoryShieldOff, false);
    setPair(o.memoryShieldOn, o.memoryShieldOff, memOn, memOff);

    o.scanMemory = s.getBool(skey::OptionAndSettings, skey::scanMemory, true);
    o.scanRegistry = s.getBool(skey::OptionAndSettings, skey::scanRegistry, true);

    o.completeScanMode =
        s.getBool(skey::OptionAndSettings, skey::completeScanMode, true);
    o.quickScanMode = !o.completeScanMode;

    o.runAtStartup = s.getBool(skey::OptionAndSettings, skey::runAtStartup, false);
    if (s.get(skey::Settings, skey::ranOneTime, "0") == "0") s.save(skey::Settings, skey::ranOneTime, "1");

    o.scanCookies = s.getBool(skey::OptionAndSettings, skey::scanCookies, true);
    o.sendAnonymousData = s.getBool(skey::OptionAndSettings, skey::sendAnonymousData, true);
    o.scheduledScanOn = s.getBool(skey::OptionAndSettings, skey::scheduledScanOn, false);
    o.scheduleControlsEnabled = o.scheduledScanOn;

    // One default with the start-up check that arms it: the settings table's.
    const KnownSetting* update = findKnownSetting(skey::OptionAndSettings, skey::automaticUpdate);
    o.automaticUpdate = s.getBool(skey::OptionAndSettings, skey::automaticUpdate,
                                  update && std::string(update->defaultValue) == "1");

    for (const std::string& drive : driveTexts)
        o.drives.emplace_back(drive, s.getBool(skey::Drives, drive, true));

    for (int n = 1; n <= columnCount; ++n)
        o.columnWidths.push_back(
            parseWidth(s.get(skey::Settings, columnWidthKey(n), std::to_string(kDefaultColumnWidthTwips))));

    o.maximized = s.get(skey::Settings, skey::Max, "0") == "1";
    return o;
}

}  // namespace vedozer
