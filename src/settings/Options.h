#pragma once
#include <string>
#include <utility>
#include <vector>

#include "settings/Settings.h"

namespace vedozer {

// What the options page shows after it was filled from the settings; each either-or pair keeps
// both of its choices' states.
struct Options {
    bool homePageShieldOn = true;
    bool homePageShieldOff = false;
    bool homePageShieldChecked = false;  // the shield's own on/off box
    bool writeReport = true;
    bool homePageAskBeforeRestoring = true;
    bool homePageRestoreSilently = false;
    bool memoryShieldOn = true;
    bool memoryShieldOff = false;
    bool memoryShieldChecked = false;    // the shield's own on/off box
    bool scanMemory = true;
    bool scanRegistry = true;
    bool completeScanMode = true;
    bool quickScanMode = false;
    bool runAtStartup = false;
    bool scanCookies = true;
    bool sendAnonymousData = true;
    bool scheduledScanOn = false;
    bool scheduleControlsEnabled = false;
    bool automaticUpdate = true;
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
