#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "i18n/MessageKeys.h"
#include "platform/image/PosixFiles.h"
#include "platform/image/RegfGenerator.h"
#include "presenters/Immutable.h"
#include "removal/QuarantineRestore.h"
#include "removal/RemovalSession.h"
#include "removal/WorkListChecks.h"
#include "settings/SettingsKeys.h"
#include "support/FakePlatform.h"

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
    selectAll(s.results);
    s.host.answer(Answer::Yes);
    RemovalResult result = s.removal->removeChecked();
    ASSERT_EQ(result.status, RemovalResult::Status::Ran);
    ASSERT_EQ(result.items.size(), 7u);
    for (const auto& d : result.items) EXPECT_TRUE(d.outcome.isDone()) << d.location << ": " << d.outcome.reason;
    EXPECT_EQ(s.host.removed, result.items);

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
    EXPECT_TRUE(s.results.fileDetections().empty());
    EXPECT_TRUE(s.results.registryDetections().empty());
    EXPECT_TRUE(s.results.cookieDetections().empty());
    EXPECT_TRUE(s.removal->undeletable().empty());
    EXPECT_EQ(s.removal->progress().done, s.removal->progress().total);
    EXPECT_EQ(s.removal->progress().total, 7u);
    EXPECT_EQ(s.removal->progress().percent, 100);
    EXPECT_EQ(s.removal->progress().caption, "100% " + s.messages.getMessages(msg::MSG_COMPLETE));
    EXPECT_FALSE(s.removal->progressVisible());
    EXPECT_EQ(s.settings.get(skey::Settings, skey::removedTotal), std::to_string(10 + 2 * 5 + 6));
    EXPECT_EQ(s.hooks.count("timers off"), 1);
    EXPECT_EQ(s.hooks.count("timers on"), 1);
    EXPECT_EQ(s.hooks.count("sendAnonymousData"), 1);
    EXPECT_EQ(s.hooks.calls.back(), "statusChanged");
    // The library could not be unregistered here, and the run says so rather than pretending.
    ASSERT_EQ(s.removal->notes().size(), 1u);
    EXPECT_NE(s.removal->notes()[0].find("adhelp.dll"), std::string::npos);
    ASSERT_FALSE(s.host.removalProgress.empty());
    EXPECT_EQ(s.host.removalProgress.back().caption.rfind("100% ", 0), 0u);
}

TEST(RemovalRun, TheDeleteCommandAsksFirstAndNamesTheQuarantine) {
    RemovalSession s;
    s.write("a/x.exe", "x");
    s.detectFile("C:\\a\\x.exe", "X");
    // Nothing checked.
    s.host.answer(Answer::Ok);
    EXPECT_EQ(s.removal->removeChecked().status, RemovalResult::Status::NothingSelected);
    ASSERT_EQ(s.host.asked().size(), 1u);
    EXPECT_EQ(s.host.asked()[0].kind, QuestionKind::NothingSelected);
    EXPECT_EQ(s.host.asked()[0].text, s.messages.getMessages(msg::MSG_SELECTED));
    EXPECT_EQ(s.host.asked()[0].title, "Vedozer Test");
    EXPECT_EQ(s.host.asked()[0].icon, QuestionIcon::Information);
    s.removal->unattended = true;
    EXPECT_EQ(s.removal->removeChecked().status, RemovalResult::Status::NothingSelected);
    EXPECT_EQ(s.host.asked().size(), 1u);
    s.removal->unattended = false;

    // Declined: nothing happens.
    selectAll(s.results);
    s.host.answer(Answer::No);
    EXPECT_EQ(s.removal->removeChecked().status, RemovalResult::Status::Declined);
    const auto& box = s.host.asked().back();
    EXPECT_EQ(box.kind, QuestionKind::ConfirmRemoval);
    EXPECT_EQ(box.title, s.messages.getMessages(msg::MSG_REALLY));
    EXPECT_EQ(box.buttons, Buttons::YesNo);
    EXPECT_EQ(box.text, s.messages.getMessages(msg::MSG_CONFIRM1) + "\r\n\r\n" +
                            s.messages.getMessages(msg::MSG_CONFIRM2) + "\r\n\r\n" + s.dataFolder + "/quarantine")
        << "the folder as the host names it";
    EXPECT_TRUE(s.exists("a/x.exe"));
    EXPECT_EQ(s.results.removalList().size(), 1u);
}

TEST(RemovalRun, OnAnOfflineImageThePromptDescribesTheHiveCopiesWhichPutTheRegistryBack) {
    RemovalSession s(true, adSoftware(), adUser());
    std::string softwareBefore = test::readHostFile(s.softwareHive);
    s.detectRegistry(RootKey::LocalMachine, "SOFTWARE\\Ad", "Run", "AdReg");
    selectAll(s.results);
    s.host.answer(Answer::Yes);
    s.removal->removeChecked();
    const std::string& prompt = s.host.asked()[0].text;
    EXPECT_NE(prompt.find("\r\n\r\n" + s.messages.getMessages(msg::MSG_CONFIRM_HIVES)), std::string::npos) << prompt;
    EXPECT_EQ(prompt.find(s.messages.getMessages(msg::MSG_CONFIRM3)), std::string::npos) << "no System Restore offline";
    EXPECT_FALSE(s.registry->queryValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "Run"));
    auto points = s.systemRestore->list();
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].description.rfind("Vedozer Test Restore Point ", 0), 0u);
    EXPECT_FALSE(points[0].ended.empty());
    ASSERT_EQ(points[0].details.size(), 1u);
    EXPECT_EQ(test::readHostFile(s.dataFolder + "/quarantine/" + points[0].name + "/SOFTWARE"), softwareBefore);
    EXPECT_EQ(s.removal->restorePoints().RestorePointSequence(), 0);

    // Putting the point back brings the value back, through the same registry object.
    std::string error;
    ASSERT_TRUE(s.systemRestore->restore(points[0].name, error)) << error;
    EXPECT_EQ(test::readHostFile(s.softwareHive), softwareBefore);
    EXPECT_TRUE(s.registry->queryValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "Run"));
    EXPECT_FALSE(s.systemRestore->restore("RestorePoint-2001-01-01-001", error));
    EXPECT_NE(error.find("no restore point"), std::string::npos);
}

TEST(RemovalRun, ARestorePointThatNamesAHostFileOutsideTheImageIsNotRestored) {
    RemovalSession s(true, adSoftware(), adUser());
    s.detectRegistry(RootKey::LocalMachine, "SOFTWARE\\Ad", "Run", "AdReg");
    s.removal->removeEverythingUnattended();
    auto points = s.systemRestore->list();
    ASSERT_EQ(points.size(), 1u);
    test::TempDir elsewhere;
    auto victim = elsewhere.write("victim", "host file");
    std::string record = s.dataFolder + "/quarantine/" + points[0].name + "/RestorePoint.txt";
    std::ofstream(record, std::ios::app) << "hive\tSOFTWARE\t" << victim.string() << "\r\n";
    std::string error;
    EXPECT_FALSE(s.systemRestore->restore(points[0].name, error));
    EXPECT_NE(error.find("not a hive of this installation"), std::string::npos) << error;
    EXPECT_EQ(test::readHostFile(victim), "host file");
    EXPECT_FALSE(s.registry->queryValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "Run")) << "nothing was restored";
}

TEST(RemovalRun, WithWindowsSystemRestoreThePromptPointsToItsToolAndTheRemovalTypeIsRequested) {
    RemovalSession s(false, adSoftware(), adUser());
    test::FakeSystemRestore restore;
    s.platform.systemRestore = &restore;
    Removal removal(s.platform, s.host, s.messages, s.settings, s.results, "Vedozer Test", s.dataFolder);
    removal.gatheringPauseMillis = 0;
    s.detectRegistry(RootKey::LocalMachine, "SOFTWARE\\Ad", "Run", "AdReg");
    selectAll(s.results);
    s.host.answer(Answer::Yes);
    EXPECT_TRUE(removal.removeChecked().ran());
    EXPECT_NE(s.host.asked()[0].text.find("\r\n\r\n" + s.messages.getMessages(msg::MSG_CONFIRM3) + "\r\n\r\n" +
                                          s.messages.getMessages(msg::MSG_CONFIRM4)),
              std::string::npos);
    ASSERT_EQ(restore.events.size(), 2u);
    EXPECT_NE(restore.events[0].find(" type 6"), std::string::npos) << restore.events[0];
    // A system that refuses the request leaves the run without a restore point, and the run says so.
    restore.refuse = true;
    s.detectRegistry(RootKey::LocalMachine, "SOFTWARE\\Ad", "Keep", "AdKeep");
    selectAll(s.results);
    RemovalResult refused = removal.removeEverythingUnattended();
    ASSERT_EQ(refused.notes.size(), 1u);
    EXPECT_NE(refused.notes[0].find("No restore point"), std::string::npos);
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
    s.removal->unattended = true;
    selectAll(s.results);
    EXPECT_TRUE(s.removal->removeChecked().ran());
    EXPECT_TRUE(s.host.asked().empty());
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
    s.host.answer(Answer::Yes);
    s.removal->removeChecked();
    EXPECT_EQ(test::readHostFile(s.drive + "/Ad/ad.exe"), "exe");
    EXPECT_EQ(test::readHostFile(s.drive + "/Ad/notes.txt"), "txt");
    EXPECT_EQ(test::readHostFile(s.drive + "/Ad/lib.dll"), "dll");
    EXPECT_EQ(s.removal->undeletable(),
              (std::vector<std::string>{"C:\\Ad\\ad.exe", "C:\\Ad\\notes.txt", "C:\\Ad\\lib.dll"}));
    EXPECT_EQ(s.removal->copyList(), "C:\\Ad\\ad.exe\r\nC:\\Ad\\notes.txt\r\nC:\\Ad\\lib.dll\r\n");
    // The rows stay, unchecked; the unrelated row was never touched.
    ASSERT_EQ(s.results.removalList().size(), 2u);
    EXPECT_FALSE(s.results.removalList()[0].checked);
    EXPECT_EQ(s.results.fileDetections().size(), 4u);
    EXPECT_TRUE(s.exists("Other/keep.exe"));
    bool reported = false;
    for (const auto& n : s.removal->notes()) reported |= n.find("C:\\Ad\\ad.exe") != std::string::npos;
    EXPECT_TRUE(reported);
    // A new delete command clears the list first.
    fs::remove(s.dataFolder + "/quarantine");
    selectAll(s.results);
    s.host.answer(Answer::Yes);
    s.removal->removeChecked();
    EXPECT_TRUE(s.removal->undeletable().empty());
    EXPECT_FALSE(s.exists("Ad/ad.exe"));
    EXPECT_EQ(s.quarantined("ad.exe"), "exe");
}

TEST(RemovalRun, AnIndexThatUsedTheLargestIdKeepsEveryFileInPlace) {
    RemovalSession s;
    QuarantineEntry taken;
    taken.id = UINT64_MAX;
    taken.storedName = "old.exe";
    s.dir.write("data/quarantine/QuarantineIndex.txt", quarantine_index::formatEntry(taken));
    s.write("Ad/ad.exe", "exe");
    s.detectFile("C:\\Ad\\ad.exe", "Ad");
    selectAll(s.results);
    s.host.answer(Answer::Yes);
    s.removal->removeChecked();
    EXPECT_EQ(test::readHostFile(s.drive + "/Ad/ad.exe"), "exe") << "deleted without a quarantine entry";
    EXPECT_EQ(s.removal->undeletable(), std::vector<std::string>{"C:\\Ad\\ad.exe"});
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
    selectAll(s.results);
    s.host.answer(Answer::Yes);
    RemovalResult result = s.removal->removeChecked();
    // The value that stayed is reported as such, stays listed (unchecked) and is undeletable.
    ASSERT_EQ(result.items.size(), 2u);
    EXPECT_EQ(result.items[0].kind, DetectionKind::RegistryValue);
    EXPECT_EQ(result.items[0].location, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Ad [Run]");
    EXPECT_TRUE(result.items[0].outcome.failed());
    EXPECT_NE(result.items[0].outcome.reason.find("registry could not be changed"), std::string::npos)
        << result.items[0].outcome.reason;
    EXPECT_TRUE(result.items[1].outcome.isDone());
    EXPECT_EQ(result.notRemoved(), 1u);
    EXPECT_EQ(s.removal->undeletable(), (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\SOFTWARE\\Ad [Run]"}));
    ASSERT_EQ(s.results.removalList().size(), 1u);
    EXPECT_EQ(s.results.removalList()[0].name, "Ad");
    EXPECT_FALSE(s.results.removalList()[0].checked);
    ASSERT_EQ(s.results.registryDetections().size(), 1u);
    EXPECT_EQ(s.results.registryDetections()[0].keyPath, "SOFTWARE\\Ad");
    EXPECT_TRUE(s.registry->queryValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "Run"));
    // Only what went counts towards the removed total: one name, one trace.
    EXPECT_EQ(s.settings.get(skey::Settings, skey::removedTotal), "3");
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

TEST(RemovalRun, AFolderKeepsOneCopyOfWhatWentAndNoneWhenNothingWent) {
    RemovalSession s;
    auto stuck = s.write("Keys/keys.sys", "driver");
    s.write("Keys/log.txt", "keystrokes");
    auto alone = s.write("Alone/alone.sys", "driver");
    test::Immutable lockedInKeys(stuck.string());
    test::Immutable lockedAlone(alone.string());
    if (!lockedInKeys.held() || !lockedAlone.held()) GTEST_SKIP() << "this file system or user cannot make a file immutable";
    s.detectFile("C:\\Keys", "Keys", kIconFolder);
    s.detectFile("C:\\Alone", "Alone", kIconFolder);
    selectAll(s.results);
    s.host.answer(Answer::Yes);
    s.removal->removeChecked();
    EXPECT_FALSE(s.exists("Keys/log.txt"));
    EXPECT_TRUE(s.exists("Keys/keys.sys"));
    EXPECT_TRUE(s.exists("Alone/alone.sys"));
    // Both passes tried each folder: the copy of the first holds what went from Keys; the retry's
    // copy, and both copies of Alone (nothing went), are taken back.
    std::vector<std::string> kept;
    for (const auto& e : s.quarantine->entries())
        if (!e.withdrawn) kept.push_back(e.location);
    EXPECT_EQ(kept, std::vector<std::string>{"C:\\Keys"});
}

TEST(RemovalRun, HiddenAndSystemFilesCountAsAbsent) {
    RemovalSession s;
    auto hidden = s.write("Ad/hidden.exe", "h");
    if (!posix::setDosAttributes(hidden.string(), kAttrHidden)) GTEST_SKIP() << "no DOS attributes on this file system";
    s.files->refresh();
    s.detectFile("C:\\Ad\\hidden.exe", "Ad");
    selectAll(s.results);
    s.host.answer(Answer::Yes);
    s.removal->removeChecked();
    EXPECT_TRUE(s.exists("Ad/hidden.exe"));
    EXPECT_TRUE(s.removal->undeletable().empty());
    EXPECT_TRUE(s.quarantine->entries().empty());
}

TEST(RemovalRun, UnattendedRemovalSelectsEverythingAndAsksNothing) {
    RemovalSession s(false, adSoftware(), adUser());
    detectOneOfEach(s);
    EXPECT_TRUE(s.removal->removeEverythingUnattended().ran());
    EXPECT_TRUE(s.host.asked().empty());
    EXPECT_FALSE(s.removal->unattended);
    EXPECT_TRUE(s.results.removalList().empty());
    EXPECT_FALSE(s.exists("Program Files/Ad/ad.exe"));
    EXPECT_EQ(s.hooks.calls.front(), "starting");
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

namespace vedozer {
namespace {

// A key whose sub keys cannot all be read is not deleted: its copy in the quarantine would not
// be whole, and what the copy lacks would be lost.
TEST(RemovalRun, AKeyThatCannotBeReadWholeIsNotDeleted) {
    RemovalSession s(false, {test::hiveSz("Ad", "Run", "c:\\ad.exe"), test::hiveKey("Ad\\Sub\\Deep")});
    std::string content = test::readHostFile(s.softwareHive);
    size_t name = content.find("Deep");
    ASSERT_NE(name, std::string::npos);
    content.replace(name - 0x4C, 2, "xx");  // the key record's signature
    std::ofstream(s.softwareHive, std::ios::binary | std::ios::trunc) << content;
    s.registry->closeHives();
    s.detectRegistry(RootKey::LocalMachine, "SOFTWARE\\Ad", "", "Ad");
    RemovalResult result = s.removal->removeEverythingUnattended();
    ASSERT_EQ(result.items.size(), 1u);
    EXPECT_EQ(result.items[0].kind, DetectionKind::RegistryKey);
    EXPECT_TRUE(result.items[0].outcome.failed());
    EXPECT_NE(result.items[0].outcome.reason.find("could not be read whole"), std::string::npos)
        << result.items[0].outcome.reason;
    EXPECT_EQ(test::readHostFile(s.softwareHive), content);
    EXPECT_EQ(s.removal->undeletable(), (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\SOFTWARE\\Ad"}));
    EXPECT_EQ(s.results.removalList().size(), 1u);
}

}  // namespace
}  // namespace vedozer

namespace vedozer {
namespace {

// A remove command given while a removal runs (from a click handled in its yield) does nothing.
TEST(RemovalRun, ASecondRemoveCommandDuringARunIsRefused) {
    RemovalSession s;
    s.write("Ad/a.exe", "a");
    s.detectFile("C:\\Ad\\a.exe", "Ad");
    std::optional<RemovalResult> nested;
    s.host.onYield([&](int) {
        if (!nested) nested = s.removal->removeChecked();
    });
    EXPECT_FALSE(s.removal->running());
    EXPECT_TRUE(s.removal->removeEverythingUnattended().ran());
    ASSERT_TRUE(nested);
    EXPECT_EQ(nested->status, RemovalResult::Status::Busy);
    EXPECT_FALSE(s.removal->running());
    EXPECT_FALSE(s.exists("Ad/a.exe"));
}

}  // namespace
}  // namespace vedozer
