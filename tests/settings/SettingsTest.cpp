#include <gtest/gtest.h>
#include "settings/KnownSettings.h"

#include "settings/SettingValues.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "support/MemorySettingsStore.h"
#include "support/ScriptedHost.h"

namespace vedozer {
namespace {

using test::MemorySettingsStore;
using test::ScriptedHost;

const ProductIdentity kIdentity{"Vedozer Anti-Spyware", "Vedozer Labs", "http://www.vedozer.example"};
const char* kApp = "Vedozer Anti-Spyware";

const std::string kPermissionText =
    "Vedozer Anti-Spyware requires read/write access to the system registry and hard drive in order to run "
    "properly.  This user account does not have the proper permissions set.  As a result some or all of your "
    "settings may not be properly saved.  Please contact your system administrator or change the permission "
    "settings for this account.\r\n\r\nIf you would like to prevent this error message from being displayed "
    "again, please press 'Ignore'.";

std::string errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const SettingsError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(SettingValues, OneAndTrueAreTrueZeroAndFalseAreFalse) {
    EXPECT_TRUE(toBool("1"));
    EXPECT_TRUE(toBool("True"));
    EXPECT_TRUE(toBool("true"));
    EXPECT_FALSE(toBool("0", true));
    EXPECT_FALSE(toBool("False", true));
    EXPECT_FALSE(toBool("false", true));  // written once in lower case
    EXPECT_TRUE(toBool("-1"));
    EXPECT_TRUE(toBool("Yes", true));  // not a boolean: the fallback
    EXPECT_FALSE(toBool("Yes", false));
    EXPECT_FALSE(toBool("", false));
    EXPECT_TRUE(toBool("", true));
    EXPECT_FALSE(toBool("1x", false));
}

TEST(SettingValues, WrittenForms) {
    EXPECT_EQ(checkBoxValue(true), "1");
    EXPECT_EQ(checkBoxValue(false), "0");
    EXPECT_EQ(trueFalse(true), "True");
    EXPECT_EQ(trueFalse(false), "False");
    EXPECT_EQ(columnWidthKey(3), "FoundCol23");
    EXPECT_EQ(columnWidthKey(1), "FoundCol21");
    EXPECT_EQ(columnWidthKey(12), "FoundCol212");
}

TEST(UserSettings, AbsentKeysYieldTheDefaultUnderTheProgramName) {
    MemorySettingsStore store;
    Settings s(store, kIdentity);
    EXPECT_EQ(s.appName(), kApp);
    EXPECT_EQ(s.get("Settings", "Language", "English"), "English");
    store.putUser(kApp, "Settings", "Language", "Deutsch");
    EXPECT_EQ(s.get("Settings", "Language", "English"), "Deutsch");
    store.putUser("Other Product", "Settings", "Max", "1");
    EXPECT_EQ(s.get("Settings", "Max", "0"), "0");  // each branded build keeps its own settings
}

TEST(UserSettings, SaveWritesUnderTheProgramNameAndReportsFailure) {
    MemorySettingsStore store;
    Settings s(store, kIdentity);
    EXPECT_TRUE(s.save("Settings", "lblDefRemoved", "12"));
    EXPECT_EQ(store.user(kApp, "Settings", "lblDefRemoved"), "12");
    store.failUserWrites = true;
    EXPECT_FALSE(s.save("Settings", "lblDefRemoved", "13"));
    EXPECT_EQ(s.get("Settings", "lblDefRemoved"), "12");
}

TEST(UserSettings, OptionPairIsSavedAsBothKeysWithOppositeValues) {
    MemorySettingsStore store;
    Settings s(store, kIdentity);
    // Clicking optMemorySheildOff.
    s.saveOptionPair(skey::OptionAndSettings, skey::memoryShieldOff, skey::memoryShieldOn);
    EXPECT_EQ(store.user(kApp, "OptionAndSettings", "optMemorySheildOn"), "False");
    EXPECT_EQ(store.user(kApp, "OptionAndSettings", "optMemorySheildOff"), "True");
    s.saveOptionPair(skey::OptionAndSettings, skey::memoryShieldOn, skey::memoryShieldOff);
    EXPECT_EQ(store.user(kApp, "OptionAndSettings", "optMemorySheildOn"), "True");
    EXPECT_EQ(store.user(kApp, "OptionAndSettings", "optMemorySheildOff"), "False");
}

TEST(UserSettings, CheckBoxesAndBooleans) {
    MemorySettingsStore store;
    Settings s(store, kIdentity);
    s.saveCheckBox(skey::OptionAndSettings, skey::writeReport, false);
    EXPECT_EQ(store.user(kApp, "OptionAndSettings", "chkMakeLog"), "0");
    EXPECT_FALSE(s.getBool(skey::OptionAndSettings, skey::writeReport, true));
    EXPECT_TRUE(s.getBool(skey::OptionAndSettings, skey::scanCookies, true));
    store.putUser(kApp, "OptionAndSettings", "chkSweepMemory", "True");
    EXPECT_TRUE(s.getBool(skey::OptionAndSettings, skey::scanMemory, false));
}

TEST(MachineSettings, EmptyArgumentsAreRejectedInOrder) {
    MemorySettingsStore store;
    Settings s(store, kIdentity);
    EXPECT_EQ(errorOf([&] { s.getMachine("", "", "", ""); }), "AppName may not be empty");
    EXPECT_EQ(errorOf([&] { s.getMachine(kApp, "", "FirstTime", ""); }), "Section may not be empty");
    EXPECT_EQ(errorOf([&] { s.getMachine(kApp, "Settings", "", ""); }), "Key may not be empty");
    EXPECT_EQ(errorOf([&] { s.getMachine("", "FirstTime"); }), "Section may not be empty");
    EXPECT_EQ(errorOf([&] { s.saveMachine("", "Settings", "FirstTime", "Yes"); }),
              "AppName may not be empty");
    EXPECT_EQ(errorOf([&] { s.saveMachine(kApp, "", "FirstTime", "Yes"); }), "Section may not be empty");
    EXPECT_EQ(errorOf([&] { s.saveMachine(kApp, "Settings", "", "Yes"); }), "Key may not be empty");
    EXPECT_TRUE(store.machineReads.empty());
    EXPECT_TRUE(store.machineWrites.empty());
}

TEST(MachineSettings, BlankNamesCountAsEmptyAndPartsAreTrimmed) {
    MemorySettingsStore store;
    Settings s(store, ProductIdentity{"App", "  Maker ", ""});
    EXPECT_EQ(errorOf([&] { s.getMachine("   ", "Settings", "FirstTime", ""); }), "AppName may not be empty");
    EXPECT_EQ(errorOf([&] { s.saveMachine("App", "  ", "FirstTime", "Yes"); }), "Section may not be empty");
    EXPECT_TRUE(s.saveMachine(" App ", " Settings ", "FirstTime", "Yes"));
    ASSERT_EQ(store.machineWrites.size(), 1u);
    EXPECT_EQ(store.machineWrites[0].app, "Maker|App");
    EXPECT_EQ(store.machineWrites[0].section, "Settings");
    EXPECT_EQ(store.machine("Maker", "App", "Settings", "FirstTime"), "Yes");
}

TEST(MachineSettings, ReadsValueOrDefaultAndMapsFailures) {
    MemorySettingsStore store;
    Settings s(store, kIdentity);
    EXPECT_EQ(s.getMachine("Settings", "FirstTime"), "");
    EXPECT_EQ(s.getMachine(kApp, "Settings", "FirstTime", "dflt"), "dflt");
    store.putMachine("Vedozer Labs", kApp, "Settings", "FirstTime", std::string("Yes\0", 4));
    EXPECT_EQ(s.getMachine("Settings", "FirstTime"), "Yes");  // without its terminating zero
    store.machineReadStatus = StoreStatus::NotAString;
    EXPECT_EQ(errorOf([&] { s.getMachine("Settings", "FirstTime"); }), "Registry data not a string");
    store.machineReadStatus = StoreStatus::OpenFailed;
    EXPECT_EQ(errorOf([&] { s.getMachine("Settings", "FirstTime"); }), "Could not open registry section");
    store.machineReadStatus = StoreStatus::NotFound;
    EXPECT_EQ(s.getMachine(kApp, "Settings", "FirstTime", "d"), "d");
}

TEST(MachineSettings, SuccessfulSaveAsksNothing) {
    MemorySettingsStore store;
    ScriptedHost host;
    Settings s(store, kIdentity, &host);
    EXPECT_TRUE(s.saveMachine("Settings", "showHelp", "0"));
    EXPECT_TRUE(host.asked().empty());
    EXPECT_EQ(store.machine("Vedozer Labs", kApp, "Settings", "showHelp"), "0");
}

TEST(MachineSettings, FailedSaveShowsThePermissionDeniedQuestion) {
    MemorySettingsStore store;
    store.failingMachineWrites = 1;
    ScriptedHost host;
    host.answer(Answer::Abort);
    Settings s(store, kIdentity, &host);
    EXPECT_FALSE(s.saveMachine("Settings", "FirstTime", "Yes"));
    ASSERT_EQ(host.asked().size(), 1u);
    EXPECT_EQ(host.asked()[0].text, kPermissionText);
    EXPECT_EQ(host.asked()[0].title, "Permission Denied");
    EXPECT_EQ(host.asked()[0].buttons, Buttons::AbortRetryIgnore);
    EXPECT_EQ(store.machineWrites.size(), 1u);
    EXPECT_FALSE(store.user(kApp, "Settings", "IgnorePermissionDeniedError"));
}

TEST(MachineSettings, RetryRepeatsTheWrite) {
    MemorySettingsStore store;
    store.failingMachineWrites = 2;
    ScriptedHost host;
    host.answers({Answer::Retry, Answer::Retry});
    Settings s(store, kIdentity, &host);
    EXPECT_TRUE(s.saveMachine("Settings", "FirstTime", "Yes"));
    EXPECT_EQ(host.asked().size(), 2u);
    EXPECT_EQ(store.machineWrites.size(), 3u);
    EXPECT_EQ(store.machine("Vedozer Labs", kApp, "Settings", "FirstTime"), "Yes");

    store.failingMachineWrites = 5;
    host.answers({Answer::Retry, Answer::Abort});
    EXPECT_FALSE(s.saveMachine("Settings", "FirstTime", "No"));
    EXPECT_EQ(store.machineWrites.size(), 5u);
    EXPECT_EQ(store.machine("Vedozer Labs", kApp, "Settings", "FirstTime"), "Yes");
}

TEST(MachineSettings, IgnoreSilencesTheQuestionFromThenOn) {
    MemorySettingsStore store;
    store.failingMachineWrites = 10;
    ScriptedHost host;
    host.answer(Answer::Ignore);
    Settings s(store, kIdentity, &host);
    EXPECT_FALSE(s.saveMachine("Settings", "FirstTime", "Yes"));
    EXPECT_EQ(store.user(kApp, "Settings", "IgnorePermissionDeniedError"), "1");
    EXPECT_FALSE(s.saveMachine("Settings", "showHelp", "0"));
    EXPECT_EQ(host.asked().size(), 1u);
    EXPECT_EQ(store.machineWrites.size(), 2u);
}

TEST(MachineSettings, StoredIgnoreFlagSuppressesTheQuestion) {
    MemorySettingsStore store;
    store.failingMachineWrites = 1;
    store.putUser(kApp, "Settings", "IgnorePermissionDeniedError", "1");
    ScriptedHost host;
    Settings s(store, kIdentity, &host);
    EXPECT_FALSE(s.saveMachine("Settings", "FirstTime", "Yes"));
    EXPECT_TRUE(host.asked().empty());

    store.putUser(kApp, "Settings", "IgnorePermissionDeniedError", "True");  // only "1" counts
    store.failingMachineWrites = 1;
    host.answer(Answer::Abort);
    EXPECT_FALSE(s.saveMachine("Settings", "FirstTime", "Yes"));
    EXPECT_EQ(host.asked().size(), 1u);
}

TEST(MachineSettings, WithoutAHostAFailedSaveGivesUpQuietly) {
    MemorySettingsStore store;
    store.failingMachineWrites = 1;
    Settings s(store, kIdentity);
    EXPECT_FALSE(s.saveMachine("Settings", "FirstTime", "Yes"));
    EXPECT_EQ(store.machineWrites.size(), 1u);
}

TEST(MachineSettings, ProgramNameInTheQuestionFollowsTheIdentity) {
    EXPECT_EQ(Settings::permissionDeniedText("Other").rfind("Other requires read/write access", 0), 0u);
}

TEST(KnownSettings, NamesAndValuesAreCheckedAndStoredAsTheKeysHaveThem) {
    const KnownSetting* cookies = findKnownSetting("SCAN-COOKIES");
    ASSERT_NE(cookies, nullptr);
    EXPECT_EQ(findKnownSetting("chkScanCookies"), cookies);
    EXPECT_EQ(findKnownSetting("OptionAndSettings", "chkscancookies"), cookies);
    EXPECT_EQ(findKnownSetting("scan-cookie"), nullptr);
    std::string error;
    EXPECT_EQ(storedSettingValue(*cookies, "On", error), "1");
    EXPECT_EQ(storedSettingValue(*cookies, "no", error), "0");
    EXPECT_FALSE(storedSettingValue(*cookies, "maybe", error));
    EXPECT_NE(error.find("not \"maybe\""), std::string::npos);
    const KnownSetting* mode = findKnownSetting("complete-scan");
    EXPECT_EQ(storedSettingValue(*mode, "1", error), "True");
    EXPECT_STREQ(mode->pairedKey, "optScanOnlyKnownSoftwares");
    const KnownSetting* server = findKnownSetting("definition-server");
    EXPECT_EQ(storedSettingValue(*server, " http://127.0.0.1:8080 ", error), "http://127.0.0.1:8080");
    EXPECT_FALSE(storedSettingValue(*server, "ftp://x", error));
    EXPECT_FALSE(storedSettingValue(*findKnownSetting("home-page"), "a\r\nb", error));
    EXPECT_FALSE(storedSettingValue(*findKnownSetting("last-scan"), "yesterday", error)) << "kept by the program";
    for (const auto& k : knownSettings()) EXPECT_EQ(findKnownSetting(k.name), &k) << k.name;
}

}  // namespace
}  // namespace vedozer
