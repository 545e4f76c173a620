#include <gtest/gtest.h>

#include <set>
#include <string>

#include "scan/FilterStatusText.h"
#include "scan/ScanMonitor.h"
#include "support/ScriptedHost.h"

namespace vedozer {
namespace {

TEST(FilterStatusText, WordListHas42EntriesWith41DistinctWords) {
    std::set<std::string> distinct(kFilteredWords.begin(), kFilteredWords.end());
    EXPECT_EQ(kFilteredWords.size(), 42u);
    EXPECT_EQ(distinct.size(), 41u);
    for (const char* w : {"porn", "sex", "anal", "cum", "butt"}) EXPECT_TRUE(distinct.count(w)) << w;
}

TEST(FilterStatusText, RemovesWordsIgnoringCaseAlsoInsideLongerWords) {
    EXPECT_EQ(FilterStatusText("C:\\Documents and Settings\\x.dll"), "C:\\Doents and Settings\\x.dll");
    EXPECT_EQ(FilterStatusText("SEXY Button ANALysis"), "Y on ysis");
    EXPECT_EQ(FilterStatusText("plain status text"), "plain status text");
    EXPECT_EQ(FilterStatusText(""), "");
    // Words go one after the other: a removal can join a later word, which then goes too.
    EXPECT_EQ(FilterStatusText("bupornsextt"), "");
    // ...but not an earlier one: "p" + "orn" meet only after "porn" was handled, and the
    // second "porn" entry at the end catches it.
    EXPECT_EQ(FilterStatusText("psexorn"), "");
}

TEST(ScanPercent, RoundsHalfToEvenAndSkipsZeroDivisors) {
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(2.51), 3);
    EXPECT_EQ(roundHalfEven(-0.5), 0);
    EXPECT_EQ(roundHalfEven(-1.5), -2);
    EXPECT_EQ(*scanPercent(1, 8), 12);   // 12.5
    EXPECT_EQ(*scanPercent(3, 8), 38);   // 37.5
    EXPECT_EQ(*scanPercent(1, 3), 33);
    EXPECT_EQ(*scanPercent(5, 2, 1), 2);  // 2.5 without scaling
    EXPECT_EQ(*scanPercent(-1, 2, 1), 0);  // -0.5
    EXPECT_FALSE(scanPercent(5, 0).has_value());
}

TEST(ScanMonitor, PaintsOnlyEveryHundredthCallAndTellsTheHost) {
    test::ScriptedHost host;
    ScanMonitor monitor(&host);
    ScanCounters counters;
    monitor.beginStage(ScanStage::Registry, "Scanning registry");
    for (int i = 1; i <= 250; ++i) {
        counters.registryInspected = i;
        monitor.showScanProgress(counters, "Scanning registry: \r\nkey" + std::to_string(i), i, 250, i % 101, 7);
        if (i == 99) {
            EXPECT_EQ(monitor.status().tally.registryInspected, 0);
            EXPECT_EQ(monitor.paints(), 0u);
            EXPECT_TRUE(host.scanProgress.empty());
        }
        if (i == 100) {
            const ScanProgress& p = monitor.status();
            EXPECT_EQ(p.tally.registryInspected, 100);
            EXPECT_EQ(p.caption, "Scanning registry: \r\nkey100");
            EXPECT_EQ(p.stage, ScanStage::Registry);
            EXPECT_EQ(p.stageCaption, "Scanning registry");
            EXPECT_EQ(p.done, 100);
            EXPECT_EQ(p.total, 250);
            EXPECT_EQ(p.stagePercent, 100 % 101);
            EXPECT_EQ(p.overallPercent, 7);
            EXPECT_EQ(counters.refreshCalls, 0);
        }
    }
    EXPECT_EQ(monitor.paints(), 2u);
    EXPECT_EQ(monitor.status().tally.registryInspected, 200);
    EXPECT_EQ(counters.refreshCalls, 50);
    ASSERT_EQ(host.stagesStarted.size(), 1u);
    EXPECT_EQ(host.stagesStarted[0].stage, ScanStage::Registry);
    ASSERT_EQ(host.scanProgress.size(), 2u);
    EXPECT_EQ(host.scanProgress.back().tally.registryInspected, 200);
}

TEST(ScanMonitor, OutOfRangePercentLeavesTheBarAloneAndTheStatusIsFiltered) {
    ScanMonitor monitor;
    ScanCounters counters{3, 4, 5, 6, 99};
    monitor.showScanProgress(counters, "C:\\Documents\\a", 1, 2, 40, 60);
    counters.refreshCalls = 99;
    monitor.showScanProgress(counters, "b", 2, 2, -1, 400);
    EXPECT_EQ(monitor.status().stagePercent, 40);
    EXPECT_EQ(monitor.status().overallPercent, 60);
    EXPECT_EQ(monitor.status().caption, "b");
    counters.refreshCalls = 99;
    monitor.showScanProgress(counters, "C:\\Documents\\a", 2, 2, 0, 0);
    EXPECT_EQ(monitor.status().caption, "C:\\Doents\\a");
    const ScanTally& t = monitor.status().tally;
    EXPECT_EQ(t.memoryInspected, 3);
    EXPECT_EQ(t.registryInspected, 4);
    EXPECT_EQ(t.filesInspected, 5);
    EXPECT_EQ(t.softwareFound, 6);
    monitor.showTraces(12);
    EXPECT_EQ(monitor.status().tally.traces, 12);
}

TEST(ScanMonitor, AStageThatIsOffStaysNotSelectedWhateverIsPainted) {
    ScanMonitor monitor;
    ScanCounters counters;
    monitor.stageNotSelected(ScanStage::Memory);
    for (int i = 0; i < 300; ++i) monitor.showScanProgress(counters, "x", i, 300, 1, 1);
    monitor.showFinalCounters(counters, 0);
    EXPECT_FALSE(monitor.status().tally.memorySelected);
    EXPECT_TRUE(monitor.status().tally.registrySelected);
    monitor.reset();
    EXPECT_TRUE(monitor.status().tally.memorySelected);
}

}  // namespace
}  // namespace vedozer
