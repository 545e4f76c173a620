#include <gtest/gtest.h>

#include <set>
#include <string>

#include "scan/FilterStatusText.h"
#include "scan/ScanProgress.h"
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

TEST(ShowScanProgress, PaintsOnlyEveryHundredthCall) {
    test::ScriptedHost host;
    ScanProgress progress(&host);
    ScanCounters counters;
    for (int i = 1; i <= 250; ++i) {
        counters.registryInspected = i;
        progress.ShowScanProgress(counters, "Scanning registry: \r\nkey" + std::to_string(i), i % 101, 7);
        if (i == 99) {
            EXPECT_EQ(progress.label(ScanLabel::lblRegistryInspected), "0");
            EXPECT_EQ(progress.paints(), 0u);
        }
        if (i == 100) {
            EXPECT_EQ(progress.label(ScanLabel::lblRegistryInspected), "100");
            EXPECT_EQ(progress.label(ScanLabel::lblStatus), "Scanning registry: \r\nkey100");
            EXPECT_EQ(progress.bar(ScanBar::pb1), 100 % 101);
            EXPECT_EQ(progress.bar(ScanBar::pb2), 7);
            EXPECT_EQ(counters.refreshCalls, 0);
        }
        if (i == 199) {
            EXPECT_EQ(progress.label(ScanLabel::lblRegistryInspected), "100");
        }
    }
    EXPECT_EQ(progress.paints(), 2u);
    EXPECT_EQ(progress.label(ScanLabel::lblRegistryInspected), "200");
    EXPECT_EQ(counters.refreshCalls, 50);
    EXPECT_EQ(host.lastStatus("lblRegistryInspected"), "200");
}

TEST(ShowScanProgress, NegativeOrOversizedPercentLeavesTheBarAlone) {
    ScanProgress progress;
    ScanCounters counters;
    counters.refreshCalls = 99;
    progress.ShowScanProgress(counters, "a", 40, 60);
    counters.refreshCalls = 99;
    progress.ShowScanProgress(counters, "b", -1, 400);
    EXPECT_EQ(progress.bar(ScanBar::pb1), 40);
    EXPECT_EQ(progress.bar(ScanBar::pb2), 60);
    EXPECT_EQ(progress.label(ScanLabel::lblStatus), "b");
}

TEST(ShowScanProgress, StatusTextIsFilteredAndCountersPainted) {
    ScanProgress progress;
    ScanCounters counters{3, 4, 5, 6, 99};
    progress.ShowScanProgress(counters, "C:\\Documents\\a", 0, 0);
    EXPECT_EQ(progress.label(ScanLabel::lblStatus), "C:\\Doents\\a");
    EXPECT_EQ(progress.label(ScanLabel::lblMemoryInspected), "3");
    EXPECT_EQ(progress.label(ScanLabel::lblFilesFolderInspected), "5");
    EXPECT_EQ(progress.label(ScanLabel::lblSoftwareFound), "6");
    EXPECT_EQ(progress.label(ScanLabel::lblRemovePicSoftwareFound), "6");
    progress.showTraces(12);
    EXPECT_EQ(progress.label(ScanLabel::lbltracesFound), "12");
}

}  // namespace
}  // namespace vedozer
