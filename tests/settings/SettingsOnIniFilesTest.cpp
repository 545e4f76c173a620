#include <gtest/gtest.h>

#include <filesystem>

#include "platform/image/IniSettingsStore.h"
#include "settings/Options.h"
#include "settings/Settings.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"

// The settings rules over the real INI files.
namespace vedozer {
namespace {

namespace fs = std::filesystem;
using test::readHostFile;
using test::TempDir;

const char* kApp = "Vedozer Anti-Spyware";

const ProductIdentity kIdentity{kApp, "Vedozer Labs", "http://www.vedozer.example"};

TEST(SettingsOnIniFiles, OptionsPageOnAFreshInstallation) {
    TempDir dir;
    IniSettingsStore store(dir.path(), dir.path() / "etc");
    Settings settings(store, kIdentity);
    Options o = readOptions(settings, {"C: [Local Disk]"}, 2);
    EXPECT_TRUE(o.memoryShieldOn);
    EXPECT_TRUE(o.drives[0].second);
    EXPECT_EQ(o.columnWidths, std::vector<int>({1400, 1400}));
    EXPECT_EQ(readHostFile(store.userFile(kApp)),
              "[OptionAndSettings]\nSHOW=True\n\n[Settings]\nranOneTime=1\n");
    settings.saveOptionPair("OptionAndSettings", "optMemorySheildOff", "optMemorySheildOn");
    settings.save("Drives", "C: [Local Disk]", "False");
    o = readOptions(settings, {"C: [Local Disk]"}, 0);
    EXPECT_FALSE(o.memoryShieldOn);
    EXPECT_TRUE(o.memoryShieldOff);
    EXPECT_FALSE(o.drives[0].second);
}

TEST(SettingsOnIniFiles, UnwritableMachineFolderAsksForPermission) {
    TempDir dir;
    dir.write("etc", "a file where the machine folder should be");
    IniSettingsStore store(dir.path() / "user", dir.path() / "etc");
    test::ScriptedHost host;
    host.answer(Answer::Ignore);
    Settings settings(store, kIdentity, &host);
    EXPECT_FALSE(settings.saveMachine("Settings", "FirstTime", "Yes"));
    ASSERT_EQ(host.asked().size(), 1u);
    EXPECT_EQ(host.asked()[0].title, "Permission Denied");
    EXPECT_EQ(settings.get("Settings", "IgnorePermissionDeniedError"), "1");
    EXPECT_EQ(readHostFile(dir.path() / "etc"), "a file where the machine folder should be");
    EXPECT_EQ(settings.getMachine("Settings", "FirstTime"), "");
}

TEST(SettingsOnIniFiles, UnreadableMachineSectionRaisesTheOpenError) {
    TempDir dir;
    IniSettingsStore store(dir.path() / "user", dir.path() / "etc");
    fs::create_directories(store.machineFile("Vedozer Labs", kApp));
    Settings settings(store, kIdentity);
    try {
        settings.getMachine("Settings", "FirstTime");
        FAIL() << "no error";
    } catch (const SettingsError& e) {
        EXPECT_STREQ(e.what(), "Could not open registry section");
    }
}

}  // namespace
}  // namespace vedozer
