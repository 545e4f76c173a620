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
    ASSERT_TRUE(session.startUp());
    EXPECT_EQ(session.dataFolder(), folder);  // "[appdata]RozaVedozerEZO" through the shell folders
    EXPECT_FALSE(data.exists(folder + "\\DLFileDefinition.dat"));
    EXPECT_EQ(session.definitions().total, 1500 + 5 + 2 + 3 + 4);
    EXPECT_TRUE(session.exclusions().IsExcluded("c:\\KEEP.exe"));
    EXPECT_EQ(*store.getUser("Brand X", "OptionAndSettings", "STATUS"), "RUNNING");
    EXPECT_EQ(*store.getUser("Brand X", "OptionAndSettings", "RESTART"), "False");

    StatusPage page = session.RefreshStatusPage();
    EXPECT_EQ(page.lblDefCount, "1,514");
    EXPECT_EQ(page.lblDefVersion, "5/15/2006 9:30:00 AM PST");
    EXPECT_EQ(page.lblDefRemoved, "0");
    EXPECT_EQ(page.lblLastScan, "Never");
    EXPECT_EQ(page.lblLastFullScan, "Never");

    session.shutDown();
    EXPECT_EQ(*store.getUser("Brand X", "OptionAndSettings", "STATUS"), "STOPPED");
}

TEST_F(SessionFixture, MissingDefinitionsShowOnTheStatusPageAndNothingIsDeletedByLooking) {
    writeDefs("FileDefinition.dat", 3);
    Session session(platform, host);
    ASSERT_TRUE(session.startUp());
    auto missing = session.missingDefinitionFiles();
    EXPECT_EQ(missing.size(), 4u);
    EXPECT_TRUE(data.exists(folder + "\\FileDefinition.dat"));
    session.definitionsMissing = true;
    EXPECT_EQ(session.RefreshStatusPage().lblDefVersion, session.message(msg::MSG_MISSINGFILES));
    session.definitionsMissing = false;
    EXPECT_EQ(session.RefreshStatusPage().lblDefVersion, "3/16/2006 12:00:00 AM PST");
}

TEST_F(SessionFixture, ASecondInstanceIsRefusedOnlyWhenItAsksForTheLock) {
    Session first(platform, host);
    ASSERT_TRUE(first.startUp({.takeInstanceLock = true}));
    Session second(platform, host);
    EXPECT_FALSE(second.startUp({.takeInstanceLock = true}));
    Session reader(platform, host);
    EXPECT_TRUE(reader.startUp({.takeInstanceLock = false, .recordStatus = false}));
}

TEST_F(SessionFixture, AScanWithoutDefinitionsSaysSoAndStillRecordsItsTime) {
    host.setDefaultAnswer(MsgAnswer::Ok);
    Session session(platform, host);
    ASSERT_TRUE(session.startUp());
    ScanRunState state = session.scan();
    EXPECT_TRUE(state.definitionsMissing);
    EXPECT_TRUE(session.definitionsMissing);
    ASSERT_FALSE(host.boxes().empty());
    EXPECT_EQ(host.boxes()[0].text, session.message(msg::MSG_MISSING));
    EXPECT_EQ(host.boxes()[0].title, session.identity().programName);
    EXPECT_EQ(session.RefreshStatusPage().lblLastScan, "3/16/2006 10:05:00 AM");
}

}  // namespace
}  // namespace vedozer
