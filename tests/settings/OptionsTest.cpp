#include <gtest/gtest.h>

#include <algorithm>

#include "settings/Options.h"
#include "support/MemorySettingsStore.h"

namespace vedozer {
namespace {

using test::MemorySettingsStore;

const ProductIdentity kIdentity{"Vedozer Anti-Spyware", "Vedozer Labs", "http://www.vedozer.example"};
const char* kApp = "Vedozer Anti-Spyware";
const std::vector<std::string> kDrives{"C: [Local Disk]", "D: [Data]"};

TEST(FillingOptions, FreshInstallationShowsTheDefaults) {
    MemorySettingsStore store;
    Settings s(store, kIdentity);
    Options o = readOptions(s, kDrives, 4);
    EXPECT_TRUE(o.homePageShieldOn);
    EXPECT_FALSE(o.homePageShieldOff);
    EXPECT_TRUE(o.homePageShieldChecked);
    EXPECT_TRUE(o.homePageAskBeforeRestoring);
    EXPECT_FALSE(o.homePageRestoreSilently);
    EXPECT_TRUE(o.memoryShieldOn);
    EXPECT_FALSE(o.memoryShieldOff);
    EXPECT_TRUE(o.memoryShieldChecked);
    EXPECT_TRUE(o.completeScanMode);
    EXPECT_FALSE(o.quickScanMode);
    EXPECT_TRUE(o.writeReport);
    EXPECT_TRUE(o.scanMemory);
    EXPECT_TRUE(o.scanRegistry);
    EXPECT_TRUE(o.scanCookies);
    EXPECT_TRUE(o.sendAnonymousData);
    EXPECT_FALSE(o.scheduledScanOn);
    EXPECT_FALSE(o.scheduleControlsEnabled);
    EXPECT_FALSE(o.runAtStartup);
    EXPECT_TRUE(o.automaticUpdate);
    ASSERT_EQ(o.drives.size(), 2u);
    EXPECT_EQ(o.drives[0], std::make_pair(std::string("C: [Local Disk]"), true));
    EXPECT_EQ(o.drives[1], std::make_pair(std::string("D: [Data]"), true));
    EXPECT_EQ(o.columnWidths, std::vector<int>({1400, 1400, 1400, 1400}));
    EXPECT_FALSE(o.maximized);
}

TEST(FillingOptions, ShowIsSavedFirstAndTheFirstRunIsMarked) {
    MemorySettingsStore store;
    Settings s(store, kIdentity);
    readOptions(s, {}, 0);
    ASSERT_FALSE(store.userCalls.empty());
    EXPECT_EQ(store.userCalls.front(), "save OptionAndSettings/SHOW=True");
    EXPECT_EQ(store.user(kApp, "OptionAndSettings", "SHOW"), "True");
    EXPECT_EQ(store.user(kApp, "Settings", "ranOneTime"), "1");
    ASSERT_EQ(store.userWrites.size(), 2u);

    readOptions(s, {}, 0);  // ranOneTime is already "1": not written again
    EXPECT_EQ(store.userWrites.size(), 3u);
    EXPECT_EQ(store.userWrites.back().key, "SHOW");
}

TEST(FillingOptions, ReadsInThePagesOrder) {
    MemorySettingsStore store;
    Settings s(store, kIdentity);
    readOptions(s, {"C:"}, 1);
    auto pos = [&](const std::string& call) {
        return std::find(store.userCalls.begin(), store.userCalls.end(), call) - store.userCalls.begin();
    };
    std::vector<std::string> order{
        "save OptionAndSettings/SHOW=True",
        "get OptionAndSettings/optIEHomePageSheildOn",
        "get OptionAndSettings/optIEHomePageSheildOff",
        "get OptionAndSettings/chkMakeLog",
        "get OptionAndSettings/optAlwaysnotifybeforerestoring",
        "get OptionAndSettings/optRestoredefaultwithoutnotification",
        "get OptionAndSettings/optMemorySheildOn",
        "get OptionAndSettings/optMemorySheildOff",
        "get OptionAndSettings/chkSweepMemory",
        "get OptionAndSettings/chkScanRegistry",
        "get OptionAndSettings/optScanAllSelectedHardDrive",
        "get OptionAndSettings/chkRunAtStartup",
        "get Settings/ranOneTime",
        "save Settings/ranOneTime=1",
        "get OptionAndSettings/chkScanCookies",
        "get OptionAndSettings/chkSendData",
        "get OptionAndSettings/chkAutomaticScanYesOrNo",
        "get OptionAndSettings/chkAutomaticUpdate",
        "get Drives/C:",
        "get Settings/FoundCol21",
        "get Settings/Max",
    };
    for (size_t i = 0; i + 1 < order.size(); ++i) {
        ASSERT_LT(pos(order[i]), static_cast<long>(store.userCalls.size())) << order[i];
        EXPECT_LT(pos(order[i]), pos(order[i + 1])) << order[i] << " before " << order[i + 1];
    }
}

TEST(FillingOptions, StoredValuesAreShown) {
    MemorySettingsStore store;
    auto put = [&](const char* section, const std::string& key, const char* value) {
        store.putUser(kApp, section, key, value);
    };
    put("OptionAndSettings", "optIEHomePageSheildOn", "False");
    put("OptionAndSettings", "optIEHomePageSheildOff", "True");
    put("OptionAndSettings", "optMemorySheildOn", "False");
    put("OptionAndSettings", "optMemorySheildOff", "True");
    put("OptionAndSettings", "optAlwaysnotifybeforerestoring", "False");
    put("OptionAndSettings", "optRestoredefaultwithoutnotification", "True");
    put("OptionAndSettings", "optScanAllSelectedHardDrive", "False");
    put("OptionAndSettings", "chkMakeLog", "0");
    put("OptionAndSettings", "chkScanCookies", "0");
    put("OptionAndSettings", "chkSendData", "0");
    put("OptionAndSettings", "chkRunAtStartup", "1");
    put("OptionAndSettings", "chkAutomaticScanYesOrNo", "1");
    put("OptionAndSettings", "chkAutomaticUpdate", "0");
    put("Drives", "D: [Data]", "False");
    put("Settings", "FoundCol22", "2000");
    put("Settings", "FoundCol23", "wide");
    put("Settings", "Max", "1");
    Settings s(store, kIdentity);
    Options o = readOptions(s, kDrives, 3);
    EXPECT_FALSE(o.homePageShieldOn);
    EXPECT_TRUE(o.homePageShieldOff);
    EXPECT_FALSE(o.homePageShieldChecked);
    EXPECT_FALSE(o.memoryShieldOn);
    EXPECT_TRUE(o.memoryShieldOff);
    EXPECT_FALSE(o.memoryShieldChecked);
    EXPECT_FALSE(o.homePageAskBeforeRestoring);
    EXPECT_TRUE(o.homePageRestoreSilently);
    EXPECT_FALSE(o.completeScanMode);
    EXPECT_TRUE(o.quickScanMode);
    EXPECT_FALSE(o.writeReport);
    EXPECT_FALSE(o.scanCookies);
    EXPECT_FALSE(o.sendAnonymousData);
    EXPECT_TRUE(o.runAtStartup);
    EXPECT_TRUE(o.scheduledScanOn);
    EXPECT_TRUE(o.scheduleControlsEnabled);
    EXPECT_FALSE(o.automaticUpdate);
    EXPECT_TRUE(o.drives[0].second);
    EXPECT_FALSE(o.drives[1].second);
    EXPECT_EQ(o.columnWidths, std::vector<int>({1400, 2000, 1400}));
    EXPECT_TRUE(o.maximized);
}

TEST(FillingOptions, OptionButtonSetLastWinsWhenBothKeysSayTrue) {
    MemorySettingsStore store;
    store.putUser(kApp, "OptionAndSettings", "optMemorySheildOn", "True");
    store.putUser(kApp, "OptionAndSettings", "optMemorySheildOff", "True");
    Settings s(store, kIdentity);
    Options o = readOptions(s, {}, 0);
    EXPECT_TRUE(o.memoryShieldChecked);  // ticked from the first key before the second is read
    EXPECT_FALSE(o.memoryShieldOn);
    EXPECT_TRUE(o.memoryShieldOff);
}

TEST(FillingOptions, UnreadableBooleansKeepTheirDefault) {
    MemorySettingsStore store;
    store.putUser(kApp, "OptionAndSettings", "chkMakeLog", "maybe");
    store.putUser(kApp, "OptionAndSettings", "chkRunAtStartup", "");
    Settings s(store, kIdentity);
    Options o = readOptions(s, {}, 0);
    EXPECT_TRUE(o.writeReport);
    EXPECT_FALSE(o.runAtStartup);
}

}  // namespace
}  // namespace vedozer
