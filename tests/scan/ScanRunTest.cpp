#include <gtest/gtest.h>

#include "ScanImage.h"
#include "report/ScanReport.h"

namespace vedozer {
namespace {

using test::ScanImage;

TEST(ScanRun, OnlyTheKnownSpywareStageRunsWhenTheOthersAreOff) {
    ScanImage img;
    img.onlyFiles();
    img.definitionFile(kFileDefinitionFile, {"a.dll=A|[drive]"});
    ScanRunState state = img.scan();
    EXPECT_EQ(state.stages, (std::vector<ScanStage>{ScanStage::Files}));
    EXPECT_FALSE(img.progress.status().tally.memorySelected);
    EXPECT_FALSE(img.progress.status().tally.registrySelected);
    EXPECT_EQ(img.progress.status().tally.filesInspected, 1);
    EXPECT_EQ(img.progress.status().caption, "Scanning complete.");
    EXPECT_EQ(img.progress.status().stagePercent, 100);
    EXPECT_EQ(img.progress.status().overallPercent, 100);
}

TEST(ScanRun, AllStagesInOrderWithTheirCaptions) {
    ScanImage img;
    std::vector<std::string> captions;
    ScanRunState state = img.scan();
    for (const auto& started : img.host.stagesStarted) captions.push_back(started.caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"Inspecting Cookies", "Inspecting memory", "Scanning registry",
                                                  "Scanning known Spyware/Adware"}));
    EXPECT_EQ(state.stages, (std::vector<ScanStage>{ScanStage::Cookies, ScanStage::Memory, ScanStage::Registry,
                                                     ScanStage::Files}));
    // Every page update after a stage began shows that stage, and the last one the whole scan done.
    ASSERT_FALSE(img.host.scanProgress.empty());
    EXPECT_EQ(img.host.scanProgress.back().stage, ScanStage::Files);
    EXPECT_EQ(img.host.scanProgress.back().overallPercent, 100);
    EXPECT_EQ(img.host.scanProgress.back().caption, "Scanning complete.");
}

TEST(ScanRun, CompleteAndQuickScanSaveTheirTimes) {
    ScanImage img;
    img.onlyFiles();
    img.option(skey::completeScanMode, "False");
    img.option(skey::quickScanMode, "True");
    ScanRunState quick = img.scan();
    EXPECT_FALSE(quick.scanFinished.empty());
    EXPECT_EQ(img.settings->get(skey::Settings, skey::lastScan), quick.scanFinished);
    EXPECT_EQ(img.settings->get(skey::Settings, skey::lastCompleteScan), "");
    img.option(skey::completeScanMode, "True");
    ScanRunState full = img.scan();
    EXPECT_EQ(img.settings->get(skey::Settings, skey::lastCompleteScan), full.scanFinished);
}

TEST(ScanRun, MissingDefinitionFileStopsTheStagesButTheRunEnds) {
    ScanImage img;
    std::filesystem::remove(img.data + "/ExeDefinition.dat");
    img.host.answer(Answer::Ok);
    ScanRunState state = img.scan();
    EXPECT_TRUE(state.definitionsMissing);
    EXPECT_TRUE(state.stages.empty());
    ASSERT_EQ(img.host.asked().size(), 1u);
    EXPECT_EQ(img.host.asked()[0].text,
              "Definition files are missing or they have been corrupted. Please run Live Update.");
    EXPECT_EQ(img.host.asked()[0].icon, QuestionIcon::Information);
    EXPECT_FALSE(std::filesystem::exists(img.data + "/FileDefinition.dat"));  // the set is deleted
    EXPECT_EQ(img.progress.status().caption, "Scanning complete.");
    EXPECT_FALSE(img.settings->get(skey::Settings, skey::lastScan).empty());
    EXPECT_TRUE(state.reportWritten);
}

TEST(ScanRun, ReportSectionsAndOption) {
    ScanImage img;
    img.onlyFiles();
    img.scan();
    std::string empty = img.report();
    EXPECT_NE(empty.find("[Threats Detected]\r\n\r\n\r\nTotal = 0\r\n"), std::string::npos);
    EXPECT_EQ(empty.find("[Files Currently Excluded]"), std::string::npos);
    EXPECT_EQ(empty.find("[Current Quarantine Log]"), std::string::npos);
    EXPECT_NE(empty.find(" 1)Total Number of Cookies and Processes inspected: Not Selected"), std::string::npos);

    img.exclusionFile({"C:\\keep.dll"});
    img.dir.write("data/quarantine/QuarantineLog.txt", "3/16/2006 C:\\old.dll\r\n");
    img.definitionFile(kFileDefinitionFile, {"a.dll=A|[drive]"});
    img.write("a.dll", "x");
    img.scan();
    std::string second = img.report();
    EXPECT_NE(second.find("[Threats Detected]\r\n\r\n\r\nA\r\n\r\nC:\\a.dll\r\n\r\n\r\nTotal = 1"), std::string::npos);
    EXPECT_NE(second.find("[Files Currently Excluded]\r\n\r\nC:\\keep.dll"), std::string::npos);
    EXPECT_NE(second.find("[Current Quarantine Log]\r\n\r\n3/16/2006 C:\\old.dll"), std::string::npos);
    EXPECT_EQ(second.find("Total = 0"), std::string::npos);  // replaced, not appended

    img.option(skey::writeReport, "0");
    img.definitionFile(kFileDefinitionFile, {});
    ScanRunState third = img.scan();
    EXPECT_FALSE(third.reportWritten);
    EXPECT_EQ(img.report(), second);  // the previous report stays
}

TEST(ScanRun, CountersInTheReportAreTheFinalOnesAndAStageThatIsOffStaysNotSelected) {
    ScanImage img;
    img.onlyFiles();
    img.option(skey::scanRegistry, "True");
    std::vector<std::string> lines;
    for (int i = 0; i < 250; ++i) lines.push_back("f" + std::to_string(i) + ".dll=T|[drive]");
    img.definitionFile(kFileDefinitionFile, lines);
    img.definitionFile(kRegistryDefinitionFile, {"2^Software^=Whole"});
    img.scan();
    // The counters paint every hundredth item; the run shows the end result before reporting.
    EXPECT_EQ(img.progress.status().tally.filesInspected, 250);
    EXPECT_EQ(img.progress.status().tally.registryInspected, 1);
    EXPECT_NE(img.report().find(" 3)Total Number of Files/Folders inspected: 250\r\n"), std::string::npos);
    EXPECT_NE(img.report().find(" 2)Total Number of Registry entries inspected: 1\r\n"), std::string::npos);
    // The memory stage was off: its counter stays "Not Selected" through the 100th and 200th
    // paint of the file stage, on the page and in the report.
    EXPECT_NE(img.report().find(" 1)Total Number of Cookies and Processes inspected: Not Selected\r\n"),
              std::string::npos);
    int filePaints = 0;
    for (const auto& p : img.host.scanProgress) {
        if (p.stage != ScanStage::Files) continue;
        EXPECT_FALSE(p.tally.memorySelected);
        filePaints += p.done >= 100;
    }
    EXPECT_GE(filePaints, 2);
}

TEST(ScanRun, HooksAroundTheRunAndUnattendedRemoval) {
    ScanImage img;
    img.onlyFiles();
    std::vector<std::string> calls;
    ScanRunHooks hooks;
    hooks.setBackgroundTimers = [&](bool on) { calls.push_back(on ? "timers on" : "timers off"); };
    hooks.removeEverything = [&] { calls.push_back("remove"); };
    hooks.statusChanged = [&] { calls.push_back("status"); };
    img.scan(false, hooks);
    EXPECT_EQ(calls, (std::vector<std::string>{"timers off", "timers on", "status"}));
    calls.clear();
    img.scan(true, hooks);
    EXPECT_EQ(calls, (std::vector<std::string>{"timers off", "remove", "timers on", "status"}));
}

TEST(ScanRun, ANewScanStartsFromEmptyListsAndPauseHoldsTheRun) {
    ScanImage img;
    img.onlyFiles();
    img.definitionFile(kFileDefinitionFile, {"a.dll=A|[drive]"});
    img.write("a.dll", "x");
    img.scan();
    ASSERT_EQ(img.results.removalList().size(), 1u);
    bool paused = false;
    img.host.onYield([&](int) {
        if (!paused) PauseScan(img.host, img.languages);
        paused = true;
    });
    img.host.answer(Answer::Ok);
    img.scan();
    EXPECT_EQ(img.results.removalList().size(), 1u);
    EXPECT_EQ(img.results.traces(), 1);
    ASSERT_EQ(img.host.asked().size(), 1u);
    EXPECT_EQ(img.host.asked()[0].kind, QuestionKind::PauseScan);
    EXPECT_EQ(img.host.asked()[0].text, "Vedozer Test has been paused.  Click OK to resume.");
    // A stop that is declined changes nothing.
    bool stop = false;
    img.host.answer(Answer::No);
    EXPECT_FALSE(RequestStop(img.host, img.languages, stop, true));
    EXPECT_FALSE(stop);
    EXPECT_EQ(img.host.asked().back().text, "Are you sure?");
    EXPECT_EQ(img.host.asked().back().kind, QuestionKind::StopScan);
}

}  // namespace
}  // namespace vedozer
