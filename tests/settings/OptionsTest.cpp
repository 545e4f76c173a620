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
    EXPECT_TRUE(o.optIEHomePageSheildOn);
    EXPECT_FALSE(o.optIEHomePageSheildOff);
    EXPECT_TRUE(o.chkHomePage);
    EXPECT_TRUE(o.optAlwaysnotifybeforerestoring);
    EXPECT_FALSE(o.optRestoredefaultwithoutnotification);
    EXPECT_TRUE(o.optMemorySheildOn);
    EXPECT_FALSE(o.optMemorySheildOff);
    EXPECT_TRUE(o.chkAutoProtect);
    EXPECT_TRUE(o.optScanAllSelectedHardDrive);
    EXPECT_FALSE(o.optScanOnlyKnownSoftwares);
    EXPECT_TRUE(o.chkMakeLog);
    EXPECT_TRUE(o.chkSweepMemory);
    EXPECT_TRUE(o.chkScanRegistry);
    EXPECT_TRUE(o.chkScanCookies);
    EXPECT_TRUE(o.chkSendData);
    EXPECT_FALSE(o.chkAutomaticScanYesOrNo);
    EXPECT_FALSE(o.scheduleControlsEnabled);
    EXPECT_FALSE(o.chkRunAtStartup);
    EXPECT_TRUE(o.chkAutomaticUpdate);
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
    EXPECT_FALSE(o.optIEHomePageSheildOn);
    EXPECT_TRUE(o.optIEHomePageSheildOff);
    EXPECT_FALSE(o.chkHomePage);
    EXPECT_FALSE(o.optMemorySheildOn);
    EXPECT_TRUE(o.optMemorySheildOff);
    EXPECT_FALSE(o.chkAutoProtect);
    EXPECT_FALSE(o.optAlwaysnotifybeforerestoring);
    EXPECT_TRUE(o.optRestoredefaultwithoutnotification);
    EXPECT_FALSE(o.optScanAllSelectedHardDrive);
    EXPECT_TRUE(o.optScanOnlyKnownSoftwares);
    EXPECT_FALSE(o.chkMakeLog);
    EXPECT_FALSE(o.chkScanCookies);
    EXPECT_FALSE(o.chkSendData);
    EXPECT_TRUE(o.chkRunAtStartup);
    EXPECT_TRUE(o.chkAutomaticScanYesOrNo);
    EXPECT_TRUE(o.scheduleControlsEnabled);
    EXPECT_FALSE(o.chkAutomaticUpdate);
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
    EXPECT_TRUE(o.chkAutoProtect);  // ticked from the first key before the second is read
    EXPECT_FALSE(o.optMemorySheildOn);
    EXPECT_TRUE(o.optMemorySheildOff);
}

TEST(FillingOptions, UnreadableBooleansKeepTheirDefault) {
    MemorySettingsStore store;
    store.putUser(kApp, "OptionAndSettings", "chkMakeLog", "maybe");
    store.putUser(kApp, "OptionAndSettings", "chkRunAtStartup", "");
    Settings s(store, kIdentity);
    Options o = readOptions(s, {}, 0);
    EXPECT_TRUE(o.chkMakeLog);
    EXPECT_FALSE(o.chkRunAtStartup);
}

}  // namespace
}  // namespace vedozer
