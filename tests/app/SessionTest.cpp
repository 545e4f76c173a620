#include "app/Session.h"

#include <gtest/gtest.h>

#include "definitions/LineCodec.h"
#include "i18n/MessageKeys.h"
#include "support/FakePlatform.h"
#include "support/FakeShellFolders.h"
#include "support/MemoryFileSystem.h"
#include "support/MemorySettingsStore.h"
#include "support/ScriptedHost.h"

namespace vedozer {
namespace {

struct SessionFixture : ::testing::Test {
    test::MemoryFileSystem files;
    test::MemoryFileSystem data;
    test::MemoryRegistry registry;
    test::FakeShellFolders shell = test::FakeShellFolders::windowsXp();
    test::MemorySettingsStore store;
    test::FixedClock clock;
    test::FakeSystemInfo system;
    std::set<std::string> held;
    test::FakeInstanceLock lock{held};
    test::ScriptedHost host;
    Platform platform;
    const std::string folder = "C:\\Documents and Settings\\Alice\\Application Data\\RozaVedozerEZO";

    void SetUp() override {
        platform.files = &files;
        platform.dataFiles = &data;
        platform.registry = &registry;
        platform.shellFolders = &shell;
        platform.settingsStore = &store;
        platform.clock = &clock;
        platform.systemInfo = &system;
        platform.instanceLock = &lock;
        data.addFolder(folder);
    }
    void writeDefs(const std::string& name, int lines) {
        std::string content;
        for (int i = 0; i < lines; ++i) content += EncodeDefinitionLine("x" + std::to_string(i) + "=Y|C:\\") + "\r\n";
        data.addFile(folder + "\\" + name, content);
    }
};

TEST_F(SessionFixture, StartUpInstallsStagedFilesCountsAndRecordsTheStatus) {
    writeDefs("FileDefinition.dat", 1000);
    writeDefs("DLFileDefinition.dat", 1500);  // a staged copy wins
    writeDefs("RegistryDefinition.dat", 2);
    writeDefs("ExeDefinition.dat", 3);
    writeDefs("BlockedCookies.dat", 4);
    writeDefs("DirectoryDefinition.dat", 5);
    data.addFile(folder + "\\ENoSignature.dat", "C:\\keep.exe\r\n");
    data.addFile(folder + "\\date.dat", "5/15/2006 9:30:00 AM\r\n");

    Session session(platform, host, {"Brand X", "Maker", "http://x.example"});
    ASSERT_TRUE(session.startUp({.takeInstanceLock = true}));  // staged copies go in under the lock
    EXPECT_TRUE(session.startupProblems().empty());
    EXPECT_EQ(session.dataFolder(), folder);  // "[appdata]RozaVedozerEZO" through the shell folders
    EXPECT_FALSE(data.exists(folder + "\\DLFileDefinition.dat"));
    EXPECT_EQ(session.definitions().total, 1500 + 5 + 2 + 3 + 4);
    EXPECT_EQ(*session.exclusions(), (std::vector<std::string>{"C:\\keep.exe"}));
    EXPECT_EQ(*store.getUser("Brand X", "OptionAndSettings", "STATUS"), "RUNNING");
    EXPECT_EQ(*store.getUser("Brand X", "OptionAndSettings", "RESTART"), "False");

    StatusSummary status = session.statusSummary();
    EXPECT_EQ(status.definitionCount, "1,514");
    EXPECT_EQ(status.definitions.fileCount, 1505);
    EXPECT_EQ(status.definitionDate, "5/15/2006 9:30:00 AM PST");
    EXPECT_EQ(status.removedTotal, "0");
    EXPECT_EQ(status.lastScan, "Never");
    EXPECT_EQ(status.lastCompleteScan, "Never");
    EXPECT_FALSE(status.definitionsMissing);
    EXPECT_TRUE(status.sendsAnonymousData);

    session.shutDown();
    EXPECT_EQ(*store.getUser("Brand X", "OptionAndSettings", "STATUS"), "STOPPED");
}

TEST_F(SessionFixture, MissingDefinitionsShowInTheStatusAndNothingIsDeletedByLooking) {
    writeDefs("FileDefinition.dat", 3);
    Session session(platform, host);
    ASSERT_TRUE(session.startUp());
    auto missing = session.missingDefinitionFiles();
    EXPECT_EQ(missing.size(), 4u);
    EXPECT_TRUE(data.exists(folder + "\\FileDefinition.dat"));
    StatusSummary status = session.statusSummary();
    EXPECT_TRUE(status.definitionsMissing);
    EXPECT_EQ(status.definitionDate, session.message(msg::MSG_MISSINGFILES));
    for (const char* f : {"RegistryDefinition.dat", "ExeDefinition.dat", "BlockedCookies.dat", "DirectoryDefinition.dat"})
        writeDefs(f, 1);
    EXPECT_EQ(session.statusSummary().definitionDate, "3/16/2006 12:00:00 AM PST");
}

TEST_F(SessionFixture, ASecondInstanceIsRefusedOnlyWhenItAsksForTheLock) {
    Session first(platform, host);
    ASSERT_TRUE(first.startUp({.takeInstanceLock = true}));
    Session second(platform, host);
    EXPECT_FALSE(second.startUp({.takeInstanceLock = true}));
    Session reader(platform, host);
    EXPECT_TRUE(reader.startUp({.takeInstanceLock = false, .recordStatus = false}));
    reader.shutDown();
    EXPECT_EQ(*store.getUser(reader.identity().programName, "OptionAndSettings", "STATUS"), "RUNNING")
        << "a session that recorded nothing at start records nothing at the end";
}

TEST_F(SessionFixture, AScanWithoutDefinitionsSaysSoAndStillRecordsItsTime) {
    host.setDefaultAnswer(Answer::Ok);
    Session session(platform, host);
    ASSERT_TRUE(session.startUp());
    ScanOutcome outcome = session.scan();
    EXPECT_TRUE(outcome.run.definitionsMissing);
    EXPECT_FALSE(outcome.removal);
    ASSERT_FALSE(host.asked().empty());
    EXPECT_EQ(host.asked()[0].kind, QuestionKind::DefinitionsMissing);
    EXPECT_EQ(host.asked()[0].text, session.message(msg::MSG_MISSING));
    EXPECT_EQ(host.asked()[0].title, session.identity().programName);
    EXPECT_EQ(session.statusSummary().lastScan, "3/16/2006 10:05:00 AM");
}

TEST_F(SessionFixture, AnInterruptedUpdateThatCannotBeFinishedIsReportedAtStart) {
    data.addFile(folder + "\\update.journal", "VEDOZER UPDATE 1\r\nFileDefinition.dat\r\nCOMMIT\r\n");
    data.addFile(folder + "\\FileDefinition.dat.upd", "new");
    data.lock(folder + "\\FileDefinition.dat.upd");
    Session session(platform, host);
    ASSERT_TRUE(session.startUp({.takeInstanceLock = true}));  // only the lock's holder recovers
    ASSERT_EQ(session.startupProblems().size(), 1u);
    EXPECT_NE(session.startupProblems()[0].find("could not be finished"), std::string::npos);
    ASSERT_EQ(host.notices.size(), 1u);
    EXPECT_EQ(host.notices[0].kind, NoticeKind::Error);
    EXPECT_EQ(host.notices[0].text, session.startupProblems()[0]);
}

TEST_F(SessionFixture, StageSwitchesHoldForOneScanAndTheModeIsKept) {
    for (const char* f : {"FileDefinition.dat", "RegistryDefinition.dat", "ExeDefinition.dat", "BlockedCookies.dat",
                          "DirectoryDefinition.dat"})
        writeDefs(f, 1);
    Session session(platform, host);
    ASSERT_TRUE(session.startUp());
    ScanRequest once;
    once.cookies = false;
    once.registry = false;
    once.mode = ScanMode::Quick;
    EXPECT_EQ(session.scan(once).run.stages, (std::vector<ScanStage>{ScanStage::Memory, ScanStage::Files}));
    EXPECT_FALSE(session.scanStatus().tally.registrySelected);
    EXPECT_EQ(session.setting("OptionAndSettings", "chkScanRegistry"), std::nullopt) << "never saved";
    EXPECT_EQ(*session.setting("OptionAndSettings", "optScanOnlyKnownSoftwares"), "True");
    EXPECT_EQ(*session.setting("OptionAndSettings", "optScanAllSelectedHardDrive"), "False");
    EXPECT_EQ(session.scan().run.stages,
              (std::vector<ScanStage>{ScanStage::Cookies, ScanStage::Memory, ScanStage::Registry, ScanStage::Files}));
    EXPECT_EQ(session.statusSummary().lastCompleteScan, "Never") << "quick scans only";
}

TEST_F(SessionFixture, SettingsAreReadWrittenAndListedWithTheirDefaults) {
    Session session(platform, host);
    ASSERT_TRUE(session.startUp({.takeInstanceLock = false, .recordStatus = false}));
    EXPECT_EQ(session.setting("Settings", "Language"), std::nullopt);
    EXPECT_TRUE(session.setSetting("OptionAndSettings", "chkSendData", "0").isDone());
    EXPECT_EQ(*session.setting("optionandsettings", "CHKSENDDATA"), "0");
    EXPECT_FALSE(session.statusSummary().sendsAnonymousData);
    bool listed = false;
    for (const SettingEntry& e : session.listSettings()) {
        if (e.key == "chkSendData") {
            listed = true;
            EXPECT_TRUE(e.stored);
            EXPECT_EQ(e.value, "0");
        }
        if (e.key == "lblLastScan") {
            EXPECT_FALSE(e.stored);
            EXPECT_EQ(e.value, "Never");
        }
    }
    EXPECT_TRUE(listed);
    EXPECT_TRUE(session.setSetting("", "Key", "v", SettingScope::Machine).failed()) << "an empty section is refused";
}

TEST_F(SessionFixture, TheFirstStartOffersLiveUpdateOnce) {
    Session session(platform, host);
    ASSERT_TRUE(session.startUp());
    host.answer(Answer::Yes);
    EXPECT_TRUE(session.offerFirstUpdate());
    ASSERT_EQ(host.asked().size(), 1u);
    EXPECT_EQ(host.asked()[0].kind, QuestionKind::UpdateNow);
    EXPECT_EQ(host.asked()[0].title, session.message(msg::MSG_THANK4));
    EXPECT_EQ(host.asked()[0].text.rfind(session.message(msg::MSG_THANK1) + "\r\n\r\n", 0), 0u);
    EXPECT_FALSE(session.offerFirstUpdate()) << "asked once";
    EXPECT_EQ(host.asked().size(), 1u);
}

TEST_F(SessionFixture, ExclusionsAreAddedListedAndTakenOff) {
    Session session(platform, host);
    ASSERT_TRUE(session.startUp());
    EXPECT_EQ(*session.exclusions(), std::vector<std::string>{});
    EXPECT_FALSE(session.excludeItems({"C:\\a.exe", "C:\\b.exe"}).failed());
    EXPECT_EQ(*session.exclusions(), (std::vector<std::string>{"C:\\a.exe", "C:\\b.exe"}));
    EXPECT_TRUE(session.removeExclusion("c:\\A.EXE").isDone());
    EXPECT_EQ(*session.exclusions(), (std::vector<std::string>{"C:\\b.exe"}));
    EXPECT_EQ(session.removeExclusion("C:\\a.exe").status, OutcomeStatus::Skipped);
    EXPECT_FALSE(session.restorePointsKeptHere());
    EXPECT_TRUE(session.restorePoints().empty());
    EXPECT_TRUE(session.restoreRestorePoint("x").failed());
}

}  // namespace
}  // namespace vedozer
