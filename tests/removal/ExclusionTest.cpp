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
    ExclusionContext context{s.host, s.messages, s.dataFiles, s.dataFolder, exclusions};
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
    s.host.answer(Answer::Ok);
    EXPECT_EQ(excludeChecked(context, s.results).status, ExclusionResult::Status::NothingToExclude);
    ASSERT_EQ(s.host.asked().size(), 1u);
    EXPECT_EQ(s.host.asked()[0].text, s.messages.getMessages(msg::MSG_SORRY));
    EXPECT_EQ(s.host.asked()[0].title, "Vedozer Test");
    EXPECT_EQ(s.host.asked()[0].icon, QuestionIcon::Information);
}

TEST_F(Excluding, CheckedRowsGoToTheListAndLeaveTheResults) {
    detect();
    setRemovalRowChecked(s.results, 0, true);
    setRemovalRowChecked(s.results, 2, true);
    s.host.answer(Answer::Yes);
    ExclusionResult result = excludeChecked(context, s.results);
    EXPECT_EQ(result.status, ExclusionResult::Status::Ran);
    EXPECT_EQ(result.entries.size(), 4u);
    EXPECT_FALSE(result.failed());
    const auto& box = s.host.asked()[0];
    EXPECT_EQ(box.kind, QuestionKind::ConfirmExclusion);
    EXPECT_EQ(box.text, s.messages.getMessages(msg::MSG_EXC_SURE1) + "\r\n\r\n" +
                            s.messages.getMessages(msg::MSG_EXC_SURE2) + "\r\n\r\n" +
                            s.messages.getMessages(msg::MSG_EXC_SURE3));
    EXPECT_EQ(box.title, s.messages.getMessages(msg::MSG_EXC_SURE4));
    EXPECT_EQ(box.buttons, Buttons::YesNo);
    EXPECT_EQ(file(), "C:\\Ad\\ad.exe\r\nAdBuddy\r\nC:\\Users\\alice\\Cookies\\alice@ads[1].txt\r\nads\r\n");
    EXPECT_TRUE(exclusions.IsExcluded("adbuddy"));
    ASSERT_EQ(s.results.removalList().size(), 1u);
    EXPECT_EQ(s.results.removalList()[0].name, "AdReg");
    EXPECT_TRUE(s.results.fileDetections().empty());
    EXPECT_TRUE(s.results.cookieDetections().empty());
    EXPECT_EQ(s.results.registryDetections().size(), 1u);
}

TEST_F(Excluding, TheQuestionComesEvenWithNothingCheckedAndNoMeansNo) {
    detect();
    s.host.answer(Answer::Yes);
    EXPECT_EQ(excludeChecked(context, s.results).status, ExclusionResult::Status::Ran);
    EXPECT_EQ(file(), "");
    EXPECT_EQ(s.results.removalList().size(), 3u);
    selectAll(s.results);
    s.host.answer(Answer::No);
    EXPECT_EQ(excludeChecked(context, s.results).status, ExclusionResult::Status::Declined);
    EXPECT_EQ(file(), "");
    EXPECT_EQ(s.results.removalList().size(), 3u);
}

TEST_F(Excluding, TheSameItemTwiceIsWrittenTwiceAndItemsAreTrimmed) {
    excludeItems(context, {"  C:\\x.exe  ", "C:\\x.exe"});
    EXPECT_EQ(file(), "C:\\x.exe\r\nC:\\x.exe\r\n");
    EXPECT_TRUE(exclusions.IsExcluded("c:\\X.EXE"));
}

TEST_F(Excluding, ViewExclusionsBeforeAnyExistsSaysSoAndIsNoFailure) {
    s.host.answer(Answer::Ok);
    Outcome none = openExclusionList(context, nullptr);
    EXPECT_EQ(none.status, OutcomeStatus::Skipped);
    ASSERT_EQ(s.host.asked().size(), 1u);
    EXPECT_EQ(s.host.asked()[0].kind, QuestionKind::NoExclusionList);
    EXPECT_EQ(s.host.asked()[0].text, s.messages.getMessages(msg::MSG_EXCLUDE1));
    EXPECT_EQ(s.host.asked()[0].title, s.messages.getMessages(msg::MSG_EXCLUDE2));
    // View Quarantine makes the folder even where nothing can show it, and says it could not show it.
    EXPECT_TRUE(openQuarantineFolder(context, nullptr).failed());
    EXPECT_TRUE(std::filesystem::is_directory(s.dataFolder + "/quarantine"));
}

TEST_F(Excluding, AnEntryTakenOffTheListGoesWithAllItsCopies) {
    excludeItems(context, {"C:\\x.exe", "C:\\y.exe", "c:\\X.EXE"});
    EXPECT_TRUE(removeExclusionEntry(context, " C:\\x.exe ").isDone());
    EXPECT_EQ(file(), "C:\\y.exe\r\n");
    EXPECT_FALSE(exclusions.IsExcluded("C:\\x.exe"));
    EXPECT_EQ(removeExclusionEntry(context, "C:\\x.exe").status, OutcomeStatus::Skipped);
    EXPECT_EQ(*ReadExclusionEntries(s.dataFiles, s.dataFolder), (std::vector<std::string>{"C:\\y.exe"}));
}

// A folder where the file should be makes every write fail, as a read-only file would.
TEST_F(Excluding, AnEntryThatCannotBeWrittenFailsAndItsRowStaysChecked) {
    detect();
    std::filesystem::create_directories(s.dataFolder + "/ENoSignature.dat");
    selectAll(s.results);
    s.host.answer(Answer::Yes);
    ExclusionResult result = excludeChecked(context, s.results);
    EXPECT_TRUE(result.failed());
    ASSERT_EQ(result.entries.size(), 6u);
    for (const auto& e : result.entries) EXPECT_TRUE(e.outcome.failed()) << e.item;
    ASSERT_EQ(s.results.removalList().size(), 3u);
    for (const auto& row : s.results.removalList()) EXPECT_TRUE(row.checked) << row.name;
    EXPECT_EQ(s.results.fileDetections().size(), 1u);
    EXPECT_TRUE(s.results.fileDetections()[0].checked);
    EXPECT_TRUE(excludeItems(context, {"C:\\z.exe"}).failed());
    EXPECT_TRUE(removeExclusionEntry(context, "C:\\z.exe").failed());
}

}  // namespace
}  // namespace vedozer
