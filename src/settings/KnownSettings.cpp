#include "settings/KnownSettings.h"

#include "settings/SettingsKeys.h"

namespace vedozer {

const std::vector<KnownSetting>& knownSettings() {
    using namespace skey;
    static const std::vector<KnownSetting> table = {
        {OptionAndSettings, scanCookies, "1", "scan cookies (1/0)"},
        {OptionAndSettings, scanMemory, "1", "scan running programs"},
        {OptionAndSettings, scanRegistry, "1", "scan the registry"},
        {OptionAndSettings, writeReport, "1", "write the scan report"},
        {OptionAndSettings, completeScanMode, "True", "complete scan mode"},
        {OptionAndSettings, quickScanMode, "False", "quick scan mode"},
        {OptionAndSettings, sendAnonymousData, "1", "send running program names after a removal (1/0)"},
        {OptionAndSettings, memoryShieldOn, "True", "memory shield on"},
        {OptionAndSettings, homePageShieldOn, "True", "home-page shield on"},
        {OptionAndSettings, homePageAskBeforeRestoring, "True", "ask before restoring the home page"},
        {OptionAndSettings, scheduledScanOn, "0", "scheduled scan on"},
        {OptionAndSettings, automaticUpdate, "1", "automatic Live Update"},
        {OptionAndSettings, runAtStartup, "0", "run at start-up"},
        {Settings, Language, "English", "language of the texts"},
        {Settings, "DefinitionServer", "", "definition server address"},
        {Settings, lastScan, "Never", "time of the last scan"},
        {Settings, lastCompleteScan, "Never", "time of the last complete scan"},
        {Settings, removedTotal, "0", "items removed so far"},
    };
    return table;
}

}  // namespace vedozer
