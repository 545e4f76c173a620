#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "i18n/MessageKeys.h"
#include "platform/image/PosixFiles.h"
#include "platform/image/RegfGenerator.h"
#include "removal/QuarantineRestore.h"
#include "removal/RemovalSession.h"
#include "removal/WorkListChecks.h"
#include "settings/SettingsKeys.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;
using test::RemovalSession;

size_t countOf(const std::string& haystack, const std::string& needle) {
    size_t n = 0;
    for (size_t p = haystack.find(needle); p != std::string::npos; p = haystack.find(needle, p + 1)) ++n;
    return n;
}

// One of each kind of detection.
void detectOneOfEach(RemovalSession& s) {
    s.write("Program Files/Ad/ad.exe", "exe bytes");
    s.write("Windows/System32/adhelp.dll", "dll bytes");
    s.write("Program Files/Ad/readme.txt", "text");
    s.write("Program Files/Toolbar/tb.dll", "toolbar");
    s.write("Program Files/Toolbar/sub/conf.ini", "conf");
    s.write("Users/alice/Cookies/alice@ads[1].txt", "cookie");
    s.detectFile("C:\\Program Files\\Ad\\ad.exe", "AdBuddy");
    s.detectFile("C:\\Windows\\System32\\adhelp.dll", "AdBuddy");
    s.detectFile("C:\\Program Files\\Ad\\readme.txt", "AdBuddy");
    s.detectFile("C:\\Program Files\\Toolbar", "Toolbar", kIconFolder);
    s.detectRegistry(RootKey::LocalMachine, "SOFTWARE\\Ad", "Run", "AdReg");
    s.detectRegistry(RootKey::CurrentUser, "Software\\AdCo", "", "AdCo");
    s.detectCookie("C:\\Users\\alice\\Cookies\\alice@ads[1].txt", "ads");
}

std::vector<test::HiveEntry> adSoftware() {
    return {test::hiveSz("Ad", "Run", "c:\\ad.exe"), test::hiveSz("Ad", "Keep", "kept")};
}
std::vector<test::HiveEntry> adUser() {
    return {test::hiveSz("Software\\AdCo", "", "default"), test::hiveDword("Software\\AdCo\\Sub", "n", 1),
            test::hiveKey("Software\\Other")};
}

TEST(RemovalRun, EveryKindOfItemIsQuarantinedRemovedAndLoggedOnce) {
    RemovalSession s(false, adSoftware(), adUser());
    detectOneOfEach(s);
    s.counters.softwareFound = 5;
    s.settings.save(skey::Settings, skey::removedTotal, "10");
    cmdSelectAll_Click(s.results);
    s.host.answer(MsgAnswer::Yes);
    EXPECT_EQ(s.removal->Command4_Click(), Removal::DeleteOutcome::Removed);

    for (const char* gone : {"Program Files/Ad/ad.exe", "Windows/System32/adhelp.dll", "Program Files/Ad/readme.txt",
                             "Program Files/Toolbar", "Users/alice/Cookies/alice@ads[1].txt"})
        EXPECT_FALSE(s.exists(gone)) << gone;
    EXPECT_EQ(s.quarantined("ad.exe"), "exe bytes");
    EXPECT_EQ(s.quarantined("adhelp.dll"), "dll bytes");
    EXPECT_EQ(s.quarantined("readme.txt"), "text");
    EXPECT_EQ(s.quarantined("Toolbar/sub/conf.ini"), "conf");
    EXPECT_EQ(s.quarantined("alice@ads[1].txt"), "cookie");
    EXPECT_FALSE(s.registry->queryValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "Run"));
    EXPECT_TRUE(s.registry->queryValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "Keep"));
    EXPECT_FALSE(s.registry->keyExists(RootKey::CurrentUser, "Software\\AdCo"));
    EXPECT_TRUE(s.registry->keyExists(RootKey::CurrentUser, "Software\\Other"));

    // The log: one record per removed file and registry entry, none for the folder.
    std::string log = s.log();
    std::regex stamp(R"(\d{1,2}/\d{1,2}/\d{4}( \d{1,2}:\d\d:\d\d [AP]M)? - File: ad\.exe\r\n - Location: C:\\Program Files\\Ad\\ad\.exe\r\n\r\n\r\n)");
    EXPECT_TRUE(std::regex_search(log, stamp)) << log;
    EXPECT_EQ(countOf(log, " - File: "), 4u);
    EXPECT_EQ(countOf(log, " - File: adhelp.dll\r\n - Location: C:\\Windows\\System32\\adhelp.dll\r\n"), 1u);
    EXPECT_EQ(countOf(log, " - File: alice@ads[1].txt\r\n"), 1u);
    EXPECT_EQ(countOf(log, "Toolbar"), 0u);
    EXPECT_EQ(countOf(log, " - Key: HKEY_LOCAL_MACHINE\\SOFTWARE\\Ad\r\nValue: Run\r\n\r\n\r\n"), 1u);
    EXPECT_EQ(countOf(log, " - Key: HKEY_CURRENT_USER\\Software\\AdCo\r\nValue: \r\n\r\n\r\n"), 1u);
    EXPECT_EQ(countOf(log, " - Key: -2147483647\\Software\\AdCo\r\nValue: All Values\r\n\r\n\r\n"), 1u);
    EXPECT_EQ(countOf(log, " - Key: "), 3u);

    // The index knows every item, the spyware it belonged to and nothing withdrawn.
    auto entries = s.quarantine->entries();
    ASSERT_EQ(entries.size(), 8u);
    for (const auto& e : entries) EXPECT_FALSE(e.withdrawn) << e.location;
    EXPECT_EQ(entries[0].spywareName, "AdBuddy");
    EXPECT_EQ(entries[3].kind, QuarantineKind::Folder);
    EXPECT_EQ(entries[7].spywareName, "Cookie: ads");

    // Lists, progress, total and the session's part.
    EXPECT_TRUE(s.results.removalList().empty());
    EXPECT_TRUE(s.results.lvwFilesToBeDeleted().empty());
    EXPECT_TRUE(s.results.lvwRegistryToBeDeleted().empty());
    EXPECT_TRUE(s.results.lvwCookiesToDelete().empty());
    EXPECT_TRUE(s.removal->lstProblem().empty());
    EXPECT_EQ(s.removal->progress().value, s.removal->progress().max);
    EXPECT_EQ(s.removal->progress().max, 7);
    EXPECT_EQ(s.removal->progress().percentLabel, "100% " + s.messages.getMessages(msg::MSG_COMPLETE));
    EXPECT_FALSE(s.removal->progress().visible);
    EXPECT_EQ(s.settings.get(skey::Settings, skey::removedTotal), std::to_string(10 + 2 * 5 + 6));
    EXPECT_EQ(s.hooks.count("timers off"), 1);
    EXPECT_EQ(s.hooks.count("timers on"), 1);
    EXPECT_EQ(s.hooks.count("sendAnonymousData"), 1);
    EXPECT_EQ(s.hooks.count("frmDelete"), 0);
    EXPECT_EQ(s.hooks.calls.back(), "RefreshStatusPage");
    EXPECT_FALSE(s.removal->bFirstRemovalPass);
    // The library could not be unregistered here, and the run says so rather than pretending.
    ASSERT_EQ(s.removal->notes().size(), 1u);
    EXPECT_NE(s.removal->notes()[0].find("adhelp.dll"), std::string::npos);
    EXPECT_NE(s.host.lastStatus("lblDeletingPercentageCompleted").find("100% "), std::string::npos);
}

TEST(RemovalRun, TheDeleteCommandAsksFirstAndNamesTheQuarantine) {
    RemovalSession s;
    s.write("a/x.exe", "x");
    s.detectFile("C:\\a\\x.exe", "X");
    // Nothing checked.
    s.host.answer(MsgAnswer::Ok);
    EXPECT_EQ(s.removal->Command4_Click(), Removal::DeleteOutcome::NothingSelected);
    ASSERT_EQ(s.host.boxes().size(), 1u);
    EXPECT_EQ(s.host.boxes()[0].text, s.messages.getMessages(msg::MSG_SELECTED));
    EXPECT_EQ(s.host.boxes()[0].title, "Vedozer Test");
    EXPECT_EQ(s.host.boxes()[0].icon, MsgIcon::Information);
    s.removal->UnattendedRemoval = true;
    EXPECT_EQ(s.removal->Command4_Click(), Removal::DeleteOutcome::NothingSelected);
    EXPECT_EQ(s.host.boxes().size(), 1u);
    s.removal->UnattendedRemoval = false;

    // Declined: nothing happens.
    cmdSelectAll_Click(s.results);
    s.host.answer(MsgAnswer::No);
    EXPECT_EQ(s.removal->Command4_Click(), Removal::DeleteOutcome::Declined);
    const auto& box = s.host.boxes().back();
    EXPECT_EQ(box.title, s.messages.getMessages(msg::MSG_REALLY));
    EXPECT_EQ(box.buttons, MsgButtons::YesNo);
    EXPECT_EQ(box.text, s.messages.getMessages(msg::MSG_CONFIRM1) + "\r\n\r\n" +
                            s.messages.getMessages(msg::MSG_CONFIRM2) + "\r\n\r\n" + s.dataFolder + "\\quarantine");
    EXPECT_TRUE(s.exists("a/x.exe"));
    EXPECT_EQ(s.results.removalList().size(), 1u);
}

TEST(RemovalRun, WithARestorePointThePromptSaysSoAndTheHivesAreBackedUp) {
    RemovalSession s(true, adSoftware(), adUser());
    std::string softwareBefore = test::readHostFile(s.softwareHive);
    s.detectRegistry(RootKey::LocalMachine, "SOFTWARE\\Ad", "Run", "AdReg");
    cmdSelectAll_Click(s.results);
    s.host.answer(MsgAnswer::Yes);
    s.removal->Command4_Click();
    EXPECT_NE(s.host.boxes()[0].text.find("\r\n\r\n" + s.messages.getMessages(msg::MSG_CONFIRM3) + "\r\n\r\n" +
                                          s.messages.getMessages(msg::MSG_CONFIRM4)),
              std::string::npos);
    EXPECT_FALSE(s.registry->queryValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "Run"));
    auto points = ImageSystemRestore::list(s.dataFolder + "/quarantine");
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].description.rfind("Vedozer Test Restore Point ", 0), 0u);
    EXPECT_FALSE(points[0].ended.empty());
    ASSERT_EQ(points[0].hives.size(), 1u);
    EXPECT_EQ(test::readHostFile(s.dataFolder + "/quarantine/" + points[0].name + "/SOFTWARE"), softwareBefore);
    EXPECT_EQ(s.removal->restorePoints().RestorePointSequence(), 0);
}

TEST(RemovalRun, TwoFilesOfTheSameNameAreBothKeptAndLogged) {
    RemovalSession s;
    s.write("One/ad.exe", "first");
    s.write("Two/ad.exe", "second");
    s.write("One/tool.dll", "dll one");
    s.write("Two/tool.dll", "dll two");
    s.detectFile("C:\\One\\ad.exe", "Ad");
    s.detectFile("C:\\Two\\ad.exe", "Ad");
    s.detectFile("C:\\One\\tool.dll", "Ad");
    s.detectFile("C:\\Two\\tool.dll", "Ad");
    s.removal->UnattendedRemoval = true;
    cmdSelectAll_Click(s.results);
    EXPECT_EQ(s.removal->Command4_Click(), Removal::DeleteOutcome::Removed);
    EXPECT_TRUE(s.host.boxes().empty());
    EXPECT_FALSE(s.exists("One/ad.exe") || s.exists("Two/ad.exe") || s.exists("One/tool.dll") ||
                 s.exists("Two/tool.dll"));
    EXPECT_EQ(s.quarantined("ad.exe"), "first");
    EXPECT_EQ(s.quarantined("ad (2).exe"), "second");
    EXPECT_EQ(s.quarantined("tool.dll"), "dll one");
    EXPECT_EQ(s.quarantined("tool (2).dll"), "dll two");
    std::string log = s.log();
    EXPECT_EQ(countOf(log, " - File: ad.exe\r\n - Location: C:\\One\\ad.exe"), 1u);
    EXPECT_EQ(countOf(log, " - File: ad (2).exe\r\n - Location: C:\\Two\\ad.exe"), 1u);
    EXPECT_EQ(countOf(log, " - File: tool (2).dll\r\n - Location: C:\\Two\\tool.dll"), 1u);
    EXPECT_EQ(countOf(log, " - File: "), 4u);
}

TEST(RemovalRun, AFileWhoseBackupFailedStaysAndIsListedAsASurvivor) {
    RemovalSession s;
    s.write("Ad/ad.exe", "exe");
    s.write("Ad/notes.txt", "txt");
    s.write("Ad/lib.dll", "dll");
    s.write("Other/keep.exe", "unchecked");
    s.detectFile("C:\\Ad\\ad.exe", "Ad");
    s.detectFile("C:\\Ad\\notes.txt", "Ad");
    s.detectFile("C:\\Ad\\lib.dll", "Ad");
    s.detectFile("C:\\Other\\keep.exe", "Other");
    // The quarantine folder cannot be created: a file holds its name.
    s.dir.write("data/quarantine", "in the way");
    setRemovalRowChecked(s.results, 0, true);
    s.host.answer(MsgAnswer::Yes);
    s.removal->Command4_Click();
    EXPECT_EQ(test::readHostFile(s.drive + "/Ad/ad.exe"), "exe");
    EXPECT_EQ(test::readHostFile(s.drive + "/Ad/notes.txt"), "txt");
    EXPECT_EQ(test::readHostFile(s.drive + "/Ad/lib.dll"), "dll");
    EXPECT_EQ(s.removal->lstProblem(),
              (std::vector<std::string>{"C:\\Ad\\ad.exe", "C:\\Ad\\notes.txt", "C:\\Ad\\lib.dll"}));
    EXPECT_EQ(s.removal->CopyList(), "C:\\Ad\\ad.exe\r\nC:\\Ad\\notes.txt\r\nC:\\Ad\\lib.dll\r\n");
    EXPECT_EQ(s.hooks.count("frmDelete"), 1);
    // The rows stay, unchecked; the unrelated row was never touched.
    ASSERT_EQ(s.results.removalList().size(), 2u);
    EXPECT_FALSE(s.results.removalList()[0].checked);
    EXPECT_EQ(s.results.lvwFilesToBeDeleted().size(), 4u);
    EXPECT_TRUE(s.exists("Other/keep.exe"));
    bool reported = false;
    for (const auto& n : s.removal->notes()) reported |= n.find("C:\\Ad\\ad.exe") != std::string::npos;
    EXPECT_TRUE(reported);
    // A new delete command clears the list first.
    fs::remove(s.dataFolder + "/quarantine");
    cmdSelectAll_Click(s.results);
    s.host.answer(MsgAnswer::Yes);
    s.removal->Command4_Click();
    EXPECT_TRUE(s.removal->lstProblem().empty());
    EXPECT_FALSE(s.exists("Ad/ad.exe"));
    EXPECT_EQ(s.quarantined("ad.exe"), "exe");
}

// A hive whose format cannot take a rewrite of one of its keys: the key holds a value too large
// for hivex to write in format 1.5, so changing that key fails for real.
void makeKeyUnwritable(const std::string& hivePath) {
    std::string bytes = test::readHostFile(hivePath);
    bytes[0x18] = 5;  // minor version
    uint32_t sum = regfHeaderChecksum(bytes.substr(0, 4096));
    for (int i = 0; i < 4; ++i) bytes[0x1FC + i] = static_cast<char>((sum >> (8 * i)) & 0xFF);
    std::ofstream(hivePath, std::ios::binary | std::ios::trunc) << bytes;
}

TEST(RemovalRun, ARegistryDeleteThatFailsIsNeitherLoggedNorKeptAsRemoved) {
    RemovalSession s(false,
                     {test::hiveSz("Ad", "Run", "c:\\ad.exe"), test::hiveBinary("Ad", "Big", std::string(20000, 'b')),
                      test::hiveSz("Fine", "Run", "c:\\fine.exe")});
    s.registry.reset();
    makeKeyUnwritable(s.softwareHive);
    ImageRegistry::Config config;
    config.hives.software = s.softwareHive;
    config.hives.ntuser = s.ntuserHive;
    s.registry = std::make_unique<ImageRegistry>(config);
    s.platform.registry = s.registry.get();
    ASSERT_TRUE(s.registry->queryValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "Run"));
    s.detectRegistry(RootKey::LocalMachine, "SOFTWARE\\Ad", "Run", "Ad");
    s.detectRegistry(RootKey::LocalMachine, "SOFTWARE\\Fine", "Run", "Fine");
    cmdSelectAll_Click(s.results);
    s.host.answer(MsgAnswer::Yes);
    s.removal->Command4_Click();
    EXPECT_TRUE(s.registry->queryValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "Run"));
    EXPECT_FALSE(s.registry->queryValue(RootKey::LocalMachine, "SOFTWARE\\Fine", "Run"));
    std::string log = s.log();
    EXPECT_EQ(countOf(log, "SOFTWARE\\Ad"), 0u) << log;
    EXPECT_EQ(countOf(log, " - Key: HKEY_LOCAL_MACHINE\\SOFTWARE\\Fine\r\nValue: Run\r\n"), 1u);
    size_t live = 0;
    for (const auto& e : s.quarantine->entries()) {
        if (e.location == "HKEY_LOCAL_MACHINE\\SOFTWARE\\Ad") {
            EXPECT_TRUE(e.withdrawn);
        }
        live += !e.withdrawn;
    }
    EXPECT_EQ(live, 1u);
}

TEST(RemovalRun, HiddenAndSystemFilesCountAsAbsent) {
    RemovalSession s;
    auto hidden = s.write("Ad/hidden.exe", "h");
    if (!posix::setDosAttributes(hidden.string(), kAttrHidden)) GTEST_SKIP() << "no DOS attributes on this file system";
    s.files->refresh();
    s.detectFile("C:\\Ad\\hidden.exe", "Ad");
    cmdSelectAll_Click(s.results);
    s.host.answer(MsgAnswer::Yes);
    s.removal->Command4_Click();
    EXPECT_TRUE(s.exists("Ad/hidden.exe"));
    EXPECT_TRUE(s.removal->lstProblem().empty());
    EXPECT_TRUE(s.quarantine->entries().empty());
}

TEST(RemovalRun, UnattendedRemovalSelectsEverythingAndAsksNothing) {
    RemovalSession s(false, adSoftware(), adUser());
    detectOneOfEach(s);
    EXPECT_EQ(s.removal->removeEverythingUnattended(), Removal::DeleteOutcome::Removed);
    EXPECT_TRUE(s.host.boxes().empty());
    EXPECT_FALSE(s.removal->UnattendedRemoval);
    EXPECT_TRUE(s.results.removalList().empty());
    EXPECT_FALSE(s.exists("Program Files/Ad/ad.exe"));
    EXPECT_EQ(s.hooks.calls.front(), "showResultsPage");
}

}  // namespace
}  // namespace vedozer

namespace vedozer {
namespace {

TEST(RemovalRun, EverythingARunRemovedComesBackWithRestoreAll) {
    RemovalSession s(false, adSoftware(), adUser());
    detectOneOfEach(s);
    auto before = captureRegistryKey(*s.registry, RootKey::CurrentUser, "Software\\AdCo");
    ASSERT_TRUE(before);
    s.removal->removeEverythingUnattended();
    ASSERT_FALSE(s.registry->keyExists(RootKey::CurrentUser, "Software\\AdCo"));

    auto results = restoreAllQuarantined(*s.quarantine, *s.files, *s.registry, false);
    ASSERT_EQ(results.size(), 8u);
    for (const auto& r : results) EXPECT_EQ(r.status, QuarantineRestoreResult::Status::Restored) << r.message;
    EXPECT_EQ(test::readHostFile(s.drive + "/Program Files/Ad/ad.exe"), "exe bytes");
    EXPECT_EQ(test::readHostFile(s.drive + "/Program Files/Toolbar/sub/conf.ini"), "conf");
    EXPECT_EQ(test::readHostFile(s.drive + "/Users/alice/Cookies/alice@ads[1].txt"), "cookie");
    EXPECT_EQ(s.registry->queryValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "Run")->data,
              std::string("c:\\ad.exe\0", 10));
    // The key and the default value deleted from it just before come back together.
    auto after = captureRegistryKey(*s.registry, RootKey::CurrentUser, "Software\\AdCo");
    ASSERT_TRUE(after);
    EXPECT_EQ(formatRegistryBackup(*after), formatRegistryBackup(*before));
    // A second restore finds nothing left to do.
    EXPECT_TRUE(restoreAllQuarantined(*s.quarantine, *s.files, *s.registry, false).empty());
}

}  // namespace
}  // namespace vedozer
