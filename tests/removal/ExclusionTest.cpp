#include <gtest/gtest.h>

#include <filesystem>

#include "i18n/MessageKeys.h"
#include "removal/Exclusion.h"
#include "removal/RemovalSession.h"
#include "removal/WorkListChecks.h"

namespace vedozer {
namespace {

using test::RemovalSession;

struct Excluding : ::testing::Test {
    RemovalSession s;
    ExclusionList exclusions;
    ExclusionContext context{s.host, s.messages, "Vedozer Test", s.dataFiles, s.dataFolder, exclusions};
    std::string file() const {
        auto p = s.dataFolder + "/ENoSignature.dat";
        return std::filesystem::exists(p) ? test::readHostFile(p) : std::string();
    }
    void detect() {
        s.detectFile("C:\\Ad\\ad.exe", "AdBuddy");
        s.detectRegistry(RootKey::LocalMachine, "SOFTWARE\\Ad", "Run", "AdReg");
        s.detectCookie("C:\\Users\\alice\\Cookies\\alice@ads[1].txt", "ads");
    }
};

TEST_F(Excluding, NothingFoundSaysSoAndAsksNothing) {
    s.host.answer(MsgAnswer::Ok);
    EXPECT_EQ(cmdExclude_Click(context, s.results), ExcludeOutcome::NothingToExclude);
    ASSERT_EQ(s.host.boxes().size(), 1u);
    EXPECT_EQ(s.host.boxes()[0].text, s.messages.getMessages(msg::MSG_SORRY));
    EXPECT_EQ(s.host.boxes()[0].title, "Vedozer Test");
    EXPECT_EQ(s.host.boxes()[0].icon, MsgIcon::Information);
}

TEST_F(Excluding, CheckedRowsGoToTheListAndLeaveTheResults) {
    detect();
    setRemovalRowChecked(s.results, 0, true);
    setRemovalRowChecked(s.results, 2, true);
    s.host.answer(MsgAnswer::Yes);
    EXPECT_EQ(cmdExclude_Click(context, s.results), ExcludeOutcome::Excluded);
    const auto& box = s.host.boxes()[0];
    EXPECT_EQ(box.text, s.messages.getMessages(msg::MSG_EXC_SURE1) + "\r\n\r\n" +
                            s.messages.getMessages(msg::MSG_EXC_SURE2) + "\r\n\r\n" +
                            s.messages.getMessages(msg::MSG_EXC_SURE3));
    EXPECT_EQ(box.title, s.messages.getMessages(msg::MSG_EXC_SURE4));
    EXPECT_EQ(box.buttons, MsgButtons::YesNo);
    EXPECT_EQ(file(), "C:\\Ad\\ad.exe\r\nAdBuddy\r\nC:\\Users\\alice\\Cookies\\alice@ads[1].txt\r\nads\r\n");
    EXPECT_TRUE(exclusions.IsExcluded("adbuddy"));
    ASSERT_EQ(s.results.removalList().size(), 1u);
    EXPECT_EQ(s.results.removalList()[0].name, "AdReg");
    EXPECT_TRUE(s.results.lvwFilesToBeDeleted().empty());
    EXPECT_TRUE(s.results.lvwCookiesToDelete().empty());
    EXPECT_EQ(s.results.lvwRegistryToBeDeleted().size(), 1u);
}

TEST_F(Excluding, TheQuestionComesEvenWithNothingCheckedAndNoMeansNo) {
    detect();
    s.host.answer(MsgAnswer::Yes);
    EXPECT_EQ(cmdExclude_Click(context, s.results), ExcludeOutcome::Excluded);
    EXPECT_EQ(file(), "");
    EXPECT_EQ(s.results.removalList().size(), 3u);
    cmdSelectAll_Click(s.results);
    s.host.answer(MsgAnswer::No);
    EXPECT_EQ(cmdExclude_Click(context, s.results), ExcludeOutcome::Declined);
    EXPECT_EQ(file(), "");
    EXPECT_EQ(s.results.removalList().size(), 3u);
}

TEST_F(Excluding, TheSameItemTwiceIsWrittenTwiceAndItemsAreTrimmed) {
    excludeItems(context, {"  C:\\x.exe  ", "C:\\x.exe"});
    EXPECT_EQ(file(), "C:\\x.exe\r\nC:\\x.exe\r\n");
    EXPECT_TRUE(exclusions.IsExcluded("c:\\X.EXE"));
}

TEST_F(Excluding, ViewExclusionsBeforeAnyExistsSaysSo) {
    s.host.answer(MsgAnswer::Ok);
    EXPECT_FALSE(mnuQuarItem_Click(context, nullptr, 1));
    ASSERT_EQ(s.host.boxes().size(), 1u);
    EXPECT_EQ(s.host.boxes()[0].text, s.messages.getMessages(msg::MSG_EXCLUDE1));
    EXPECT_EQ(s.host.boxes()[0].title, s.messages.getMessages(msg::MSG_EXCLUDE2));
    // View Quarantine makes the folder even where nothing can show it.
    EXPECT_FALSE(mnuQuarItem_Click(context, nullptr, 0));
    EXPECT_TRUE(std::filesystem::is_directory(s.dataFolder + "/quarantine"));
}

}  // namespace
}  // namespace vedozer
