#pragma once
#include <string>
#include <utility>
#include <vector>

#include "settings/Settings.h"

namespace vedozer {

// What the options page shows after it was filled from the settings. Fields are named
// after the controls they set; each option-button pair keeps both buttons' states.
struct Options {
    bool optIEHomePageSheildOn = true;
    bool optIEHomePageSheildOff = false;
    bool chkHomePage = false;  // home-page shield check box
    bool chkMakeLog = true;
    bool optAlwaysnotifybeforerestoring = true;
    bool optRestoredefaultwithoutnotification = false;
    bool optMemorySheildOn = true;
    bool optMemorySheildOff = false;
    bool chkAutoProtect = false;  // memory shield check box
    bool chkSweepMemory = true;
    bool chkScanRegistry = true;
    bool optScanAllSelectedHardDrive = true;
    bool optScanOnlyKnownSoftwares = false;
    bool chkRunAtStartup = false;
    bool chkScanCookies = true;
    bool chkSendData = true;
    bool chkAutomaticScanYesOrNo = false;
    bool scheduleControlsEnabled = false;
    bool chkAutomaticUpdate = true;
    std::vector<std::pair<std::string, bool>> drives;  // drive text, selected for a complete scan
    std::vector<int> columnWidths;                     // results list, twips, column 1 first
    bool maximized = false;
};

inline constexpr int kDefaultColumnWidthTwips = 1400;

// Fills the options page: records SHOW = "True", reads every option in the page's fixed
// order (marking ranOneTime on the first run), then the drive selection for each drive
// text, the width of each results column, and whether the window was maximized.
Options readOptions(Settings& settings, const std::vector<std::string>& driveTexts, int columnCount);

}  // namespace vedozer
