#include "settings/Options.h"

#include <charconv>

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

    bool homeOn = s.getBool(skey::OptionAndSettings, skey::optIEHomePageSheildOn, true);
    o.chkHomePage = homeOn;
    bool homeOff = s.getBool(skey::OptionAndSettings, skey::optIEHomePageSheildOff, false);
    setPair(o.optIEHomePageSheildOn, o.optIEHomePageSheildOff, homeOn, homeOff);

    o.chkMakeLog = s.getBool(skey::OptionAndSettings, skey::chkMakeLog, true);
    bool ask = s.getBool(skey::OptionAndSettings, skey::optAlwaysnotifybeforerestoring, true);
    bool silent = s.getBool(skey::OptionAndSettings, skey::optRestoredefaultwithoutnotification, false);
    setPair(o.optAlwaysnotifybeforerestoring, o.optRestoredefaultwithoutnotification, ask, silent);

    bool memOn = s.getBool(skey::OptionAndSettings, skey::optMemorySheildOn, true);
    o.chkAutoProtect = memOn;
    bool memOff = s.getBool(skey::OptionAndSettings, skey::optMemorySheildOff, false);
    setPair(o.optMemorySheildOn, o.optMemorySheildOff, memOn, memOff);

    o.chkSweepMemory = s.getBool(skey::OptionAndSettings, skey::chkSweepMemory, true);
    o.chkScanRegistry = s.getBool(skey::OptionAndSettings, skey::chkScanRegistry, true);

    o.optScanAllSelectedHardDrive =
        s.getBool(skey::OptionAndSettings, skey::optScanAllSelectedHardDrive, true);
    o.optScanOnlyKnownSoftwares = !o.optScanAllSelectedHardDrive;

    o.chkRunAtStartup = s.getBool(skey::OptionAndSettings, skey::chkRunAtStartup, false);
    if (s.get(skey::Settings, skey::ranOneTime, "0") == "0") s.save(skey::Settings, skey::ranOneTime, "1");

    o.chkScanCookies = s.getBool(skey::OptionAndSettings, skey::chkScanCookies, true);
    o.chkSendData = s.getBool(skey::OptionAndSettings, skey::chkSendData, true);
    o.chkAutomaticScanYesOrNo = s.getBool(skey::OptionAndSettings, skey::chkAutomaticScanYesOrNo, false);
    o.scheduleControlsEnabled = o.chkAutomaticScanYesOrNo;

    o.chkAutomaticUpdate = s.getBool(skey::OptionAndSettings, skey::chkAutomaticUpdate, true);

    for (const std::string& drive : driveTexts)
        o.drives.emplace_back(drive, s.getBool(skey::Drives, drive, true));

    for (int n = 1; n <= columnCount; ++n)
        o.columnWidths.push_back(
            parseWidth(s.get(skey::Settings, columnWidthKey(n), std::to_string(kDefaultColumnWidthTwips))));

    o.maximized = s.get(skey::Settings, skey::Max, "0") == "1";
    return o;
}

}  // namespace vedozer
