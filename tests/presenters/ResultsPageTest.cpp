#include <gtest/gtest.h>

#include <filesystem>

#include "DesktopImage.h"
#include "Immutable.h"

namespace vedozer {
namespace {

using test::DesktopImage;
namespace fs = std::filesystem;

// Three adware names: two files of one, one file of another, a folder of a third.
void plantAndScan(DesktopImage& d) {
    d.notFirstRun();
    d.image.onlyFiles();
    d.image.definitionFile(kFileDefinitionFile, {"b.exe=Beta|[drive]Beta|Adware", "b2.dll=Beta|[drive]Beta",
                                                 "a.exe=Alpha|[drive]Alpha|Spyware"});
    d.image.definitionFile(kDirectoryDefinitionFile, {"z=Zulu|[drive]Zulu"});
    d.image.write("Beta/b.exe", "b");
    d.image.write("Beta/b2.dll", "b2");
    d.image.write("Alpha/a.exe", "a");
    d.image.write("Zulu/z.txt", "z");
    d.start().scanPage().startClicked();
    d.desktop->session().removal().gatheringPauseMillis = 0;
}

std::vector<std::string> names(const std::vector<ResultRow>& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.name + (r.checked ? "+" : ""));
    return out;
}

TEST(ResultsPage, CheckMarksFollowTheShownRowsWhateverTheSortAndSwitchTheActions) {
    DesktopImage d;
    plantAndScan(d);
    ResultsPagePresenter& page = d.desktop->resultsPage();
    auto& view = d.v.results;
    ASSERT_EQ(names(view.rows), (std::vector<std::string>{"Beta", "Alpha", "Zulu"}));
    EXPECT_TRUE(view.enabled[ResultsAction::SelectAll]);
    EXPECT_FALSE(view.enabled[ResultsAction::Delete]) << "nothing is checked yet";
    EXPECT_FALSE(view.enabled[ResultsAction::Exclude]);

    page.sortBy(ResultsColumn::Name);
    EXPECT_EQ(names(view.rows), (std::vector<std::string>{"Alpha", "Beta", "Zulu"}));
    page.sortBy(ResultsColumn::Name);
    EXPECT_EQ(names(view.rows), (std::vector<std::string>{"Zulu", "Beta", "Alpha"}));
    EXPECT_EQ(view.sort, std::make_pair(ResultsColumn::Name, false));

    // The second shown row is Beta, the session's first: both of its files follow the mark.
    page.rowChecked(1, true);
    const ScanResults& results = d.desktop->session().results();
    EXPECT_TRUE(results.removalList()[0].checked);
    EXPECT_FALSE(results.removalList()[1].checked);
    ASSERT_EQ(results.fileDetections().size(), 4u);
    EXPECT_TRUE(results.fileDetections()[0].checked && results.fileDetections()[1].checked);
    EXPECT_FALSE(results.fileDetections()[2].checked || results.fileDetections()[3].checked);
    EXPECT_TRUE(view.enabled[ResultsAction::Delete]);
    EXPECT_TRUE(view.enabled[ResultsAction::Exclude]);

    page.sortBy(ResultsColumn::Location);
    EXPECT_EQ(names(view.rows), (std::vector<std::string>{"Alpha", "Beta+", "Zulu"}));
    page.rowChecked(1, false);
    EXPECT_FALSE(view.enabled[ResultsAction::Delete]);
    page.selectAllClicked();
    EXPECT_EQ(names(view.rows), (std::vector<std::string>{"Alpha+", "Beta+", "Zulu+"}));
    EXPECT_EQ(results.checkedCount(), 3u);
    EXPECT_TRUE(results.fileDetections()[3].checked);
}

TEST(ResultsPage, DeleteWithAnUndeletableFileTellsWhatStayedAndWhy) {
    DesktopImage d;
    plantAndScan(d);
    test::Immutable locked(d.image.drive + "/Alpha/a.exe");
    if (!locked.held()) GTEST_SKIP() << "this file system or user cannot make a file immutable";
    ResultsPagePresenter& page = d.desktop->resultsPage();
    page.selectAllClicked();
    d.v.dialogs.answers = {Answer::Yes};
    RemovalResult result = page.deleteClicked();

    ASSERT_EQ(d.v.dialogs.kinds(), (std::vector<QuestionKind>{QuestionKind::ConfirmRemoval}));
    EXPECT_NE(d.v.dialogs.asked[0].question.text.find(d.image.data), std::string::npos) << "names the quarantine";
    EXPECT_EQ(d.v.dialogs.asked[0].question.title, "Really Delete?");
    // The bar showed while removing and is hidden afterwards.
    auto& progress = d.v.results.progress;
    ASSERT_GE(progress.size(), 3u);
    bool removingShown = false;
    for (const auto& p : progress) removingShown |= p.visible && p.caption.rfind("Removing : ", 0) == 0;
    EXPECT_TRUE(removingShown);
    EXPECT_FALSE(progress.back().visible);

    // What could be removed is gone and kept in the quarantine; the locked file stayed.
    EXPECT_FALSE(fs::exists(d.image.drive + "/Beta/b.exe"));
    EXPECT_FALSE(fs::exists(d.image.drive + "/Zulu"));
    EXPECT_TRUE(fs::exists(d.image.data + "/quarantine/b.exe"));
    EXPECT_TRUE(fs::exists(d.image.drive + "/Alpha/a.exe"));
    EXPECT_EQ(result.notRemoved(), 1u);

    // The item that stayed, and what the run as a whole could not do on an offline system.
    ASSERT_EQ(d.v.results.outcomes.size(), 2u);
    EXPECT_EQ(d.v.results.outcomes[0].item, "C:\\Alpha\\a.exe");
    EXPECT_EQ(d.v.results.outcomes[0].outcome, "Not removed");
    EXPECT_EQ(d.v.results.outcomes[0].reason, "the file could not be deleted");
    EXPECT_EQ(d.v.results.outcomes[1].reason.rfind("C:\\Beta\\b2.dll: ", 0), 0u);
    EXPECT_EQ(names(d.v.results.rows), (std::vector<std::string>{"Alpha"})) << "the row stays, unchecked";
    EXPECT_EQ(d.v.results.summary, "1 threat, 1 trace");
    EXPECT_FALSE(d.v.results.enabled[ResultsAction::Delete]);

    EXPECT_TRUE(d.v.undeletable.visible);
    EXPECT_TRUE(d.v.dialogs.notices.empty()) << "the window and the outcomes say it; no message box besides";
    EXPECT_EQ(d.v.undeletable.items, (std::vector<std::string>{"C:\\Alpha\\a.exe"}));
    d.desktop->undeletable().copyListClicked();
    EXPECT_EQ(d.v.undeletable.clipboard, (std::vector<std::string>{"C:\\Alpha\\a.exe\r\n"}));
    d.desktop->undeletable().okClicked();
    EXPECT_FALSE(d.v.undeletable.visible);
    EXPECT_EQ(d.v.undeletable.items.size(), 1u) << "the list stays until the next removal";
    EXPECT_NE(d.v.status.state.removedTotal, "0");

    // A new scan clears and hides the list, and still finds the file.
    d.desktop->scanPage().startClicked();
    EXPECT_TRUE(d.v.undeletable.items.empty());
    EXPECT_EQ(names(d.v.results.rows), (std::vector<std::string>{"Alpha"}));
}

TEST(ResultsPage, DeclinedDeleteChangesNothingAndExcludeTakesRowsOutUnlessTheListCannotBeWritten) {
    DesktopImage d;
    plantAndScan(d);
    ResultsPagePresenter& page = d.desktop->resultsPage();
    page.rowChecked(1, true);  // Alpha
    d.v.dialogs.answers = {Answer::No};
    EXPECT_EQ(page.deleteClicked().status, RemovalResult::Status::Declined);
    EXPECT_TRUE(fs::exists(d.image.drive + "/Alpha/a.exe"));
    EXPECT_EQ(names(d.v.results.rows), (std::vector<std::string>{"Beta", "Alpha+", "Zulu"}));
    EXPECT_TRUE(d.v.results.enabled[ResultsAction::Delete]) << "actions come back after the question";

    d.v.dialogs.answers = {Answer::Yes};
    ExclusionResult excluded = page.excludeClicked();
    EXPECT_FALSE(excluded.failed());
    EXPECT_EQ(names(d.v.results.rows), (std::vector<std::string>{"Beta", "Zulu"}));
    EXPECT_EQ(test::readHostFile(d.image.data + "/ENoSignature.dat"), "C:\\Alpha\\a.exe\r\nAlpha\r\n");

    page.rowChecked(0, true);  // Beta
    test::Immutable locked(d.image.data + "/ENoSignature.dat");
    if (!locked.held()) GTEST_SKIP() << "this file system or user cannot make a file immutable";
    d.v.dialogs.answers = {Answer::Yes};
    EXPECT_TRUE(page.excludeClicked().failed());
    EXPECT_EQ(names(d.v.results.rows), (std::vector<std::string>{"Beta+", "Zulu"})) << "the row stays, checked";
    ASSERT_FALSE(d.v.results.outcomes.empty());
    EXPECT_EQ(d.v.results.outcomes[0].outcome, "Not excluded");
}

TEST(ResultsPage, SummaryCountsThreatsAndTracesInWords) {
    Languages l{ProductIdentity{"P", "C", "W"}};
    EXPECT_EQ(resultsSummary(l, 10, 18), "10 threats, 18 traces");
    EXPECT_EQ(resultsSummary(l, 1, 1), "1 threat, 1 trace");
    EXPECT_EQ(resultsSummary(l, 1200, 0), "1,200 threats, 0 traces");
    EXPECT_EQ(twipsToPixels(1400, 96), 93);
    EXPECT_EQ(pixelsToTwips(twipsToPixels(1400, 144), 144), 1400);
}

}  // namespace
}  // namespace vedozer
