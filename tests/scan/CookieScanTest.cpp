#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "ScanImage.h"
#include "platform/image/PosixFiles.h"
#include "scan/CookieScan.h"
#include "text/Text.h"

namespace vedozer {
namespace {

using test::ScanImage;

struct CookieImage : ScanImage {
    std::string folder;  // Windows path of the cookie folder
    CookieImage() {
        folder = platform().shellFolders->folderPath(kCookiesFolderId);
        option(skey::scanMemory, "False");
        option(skey::scanRegistry, "False");
    }
    void cookie(const std::string& name, const std::string& content) {
        std::string relative = text::replaceAll(folder.substr(3), "\\", "/");
        write(relative + "/" + name, content);
    }
    std::string path(const std::string& name) const { return folder + "\\" + name; }
};

TEST(CookieScan, BlockedSitesAreReportedOneRowPerCookie) {
    CookieImage img;
    ASSERT_FALSE(img.folder.empty());
    img.definitionFile(kBlockedCookiesFile, {"ads.example.com", "*.tracker.net", "www.hits.org"});
    img.cookie("alice@ads[1].txt", "id\n12\nads.example.com/\n1024\n*\n");
    img.cookie("alice@ads[2].txt", "id\r\n13\r\nwww.ads.example.com/path\r\n");
    img.cookie("alice@ads[3].txt", "id\nads.example.com/\n");
    img.cookie("alice@other[1].txt", "other.org/\n");
    img.cookie("alice@hits[1].txt", "www.hits.org/\n");  // the entry keeps its "www.": no match
    img.cookie("index.dat", "ads.example.com/");
    img.exclusionFile({img.path("alice@ads[3].txt")});
    ScanRunState state = img.scan();

    EXPECT_EQ(state.cookieItems, 6);
    EXPECT_EQ(img.counters.cookiesAndProcessesInspected, 3);  // ends at the number of blocked sites
    auto found = img.foundTexts();
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{"Cookie Found: alice@ads[1].txt", "Cookie Found: alice@ads[2].txt",
                                               "EXCLUDED: " + img.path("alice@ads[3].txt")}));
    auto rows = img.results.removalList();
    std::sort(rows.begin(), rows.end(), [](const ThreatRecord& a, const ThreatRecord& b) { return a.name < b.name; });
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (ThreatRecord{"Cookie: alice@ads[1].txt", img.path("alice@ads[1].txt"), "Tracking Cookie",
                                     kIconCookie, false}));
    EXPECT_EQ(rows[1].name, "Cookie: alice@ads[2].txt");
    EXPECT_EQ(img.results.cookieDetections().size(), 2u);
    EXPECT_EQ(img.counters.softwareFound, 2);
    EXPECT_EQ(img.results.traces(), 0);
    EXPECT_EQ(img.progress.status().stageCaption, "Scanning known Spyware/Adware");
}

TEST(CookieScan, WithoutBlockedListNothingIsReportedAndTheCounterEndsAtMinusOne) {
    CookieImage img;
    img.cookie("alice@ads[1].txt", "ads.example.com/\n");
    std::filesystem::remove(img.data + "/BlockedCookies.dat");
    // The scan refuses to run without all definition files, so test the stage itself.
    CountDefinitions(*img.platform().dataFiles, img.definitions);
    img.platform().files->refresh();  // as a scan run does: the cookie was written after the image was opened
    ScanContext ctx = img.context();
    int32_t items = 0;
    ScanCookies(ctx, items);
    EXPECT_EQ(items, 1);
    EXPECT_EQ(img.counters.cookiesAndProcessesInspected, -1);
    EXPECT_TRUE(img.results.removalList().empty());
}

TEST(CookieScan, EmptyFolderLeavesTheCounters) {
    CookieImage img;
    img.definitionFile(kBlockedCookiesFile, {"ads.example.com"});
    img.cookie("placeholder", "");
    std::filesystem::remove(img.drive + "/" + text::replaceAll(img.folder.substr(3), "\\", "/") + "/placeholder");
    img.scan();
    EXPECT_EQ(img.counters.cookiesAndProcessesInspected, 0);
    EXPECT_TRUE(img.results.foundList().empty());
}

TEST(CookieScan, ThousandsOfJunkFilesFinishCleanly) {
    CookieImage img;
    img.definitionFile(kBlockedCookiesFile, {"ads.example.com"});
    std::mt19937 rng(11);
    for (int i = 0; i < 2000; ++i) {
        std::string junk(200 + rng() % 3000, '\0');
        for (char& c : junk) c = static_cast<char>(rng() % 256);
        img.cookie("alice@junk" + std::to_string(i) + "[1].txt", junk);
    }
    img.cookie("alice@ads[1].txt", "ads.example.com/");
    ScanRunState state = img.scan();
    EXPECT_EQ(state.cookieItems, 2001);
    ASSERT_EQ(img.results.removalList().size(), 1u);
    EXPECT_EQ(img.results.removalList()[0].name, "Cookie: alice@ads[1].txt");
}

// The folder listing stands for the existence test: hidden and system cookie files count as
// absent, like a file definition's hidden file, and are neither read nor reported.
TEST(CookieScan, HiddenAndSystemCookieFilesCountAsAbsent) {
    CookieImage img;
    img.definitionFile(kBlockedCookiesFile, {"ads.example.com"});
    img.cookie("alice@ads[1].txt", "ads.example.com/\n");
    img.cookie("alice@ads[2].txt", "ads.example.com/\n");
    img.cookie("alice@ads[3].txt", "ads.example.com/\n");
    const std::string host = img.drive + "/" + text::replaceAll(img.folder.substr(3), "\\", "/") + "/";
    if (!posix::setDosAttributes(host + "alice@ads[2].txt", kAttrHidden) ||
        !posix::setDosAttributes(host + "alice@ads[3].txt", kAttrSystem))
        GTEST_SKIP() << "no user attributes on this file system";
    ScanRunState state = img.scan();
    EXPECT_EQ(state.cookieItems, 3);
    EXPECT_EQ(img.foundTexts(), std::vector<std::string>{"Cookie Found: alice@ads[1].txt"});
    ASSERT_EQ(img.results.cookieDetections().size(), 1u);
    EXPECT_EQ(img.results.cookieDetections()[0].path, img.path("alice@ads[1].txt"));
}

TEST(CookieScan, StopDuringTheCookieStageSkipsTheLaterStagesButFinishesTheRun) {
    CookieImage img;
    img.option(skey::scanMemory, "True");
    img.option(skey::scanRegistry, "True");
    img.option(skey::writeReport, "1");
    img.definitionFile(kBlockedCookiesFile, {"ads.example.com"});
    img.definitionFile(kRegistryDefinitionFile, {"2^Software^=Whole"});
    img.definitionFile(kFileDefinitionFile, {"a.dll=A|[drive]"});
    img.write("a.dll", "x");
    for (int i = 0; i < 20; ++i) img.cookie("alice@ads[" + std::to_string(i) + "].txt", "ads.example.com/");
    int cookiesSeen = 0;
    img.host.onYield([&](int) {
        if (img.results.cookieDetections().size() == 5 && cookiesSeen++ == 0)
            RequestStop(img.host, img.languages, img.stopFlag);
    });
    img.host.answer(Answer::Yes);
    ScanRunState state = img.scan();

    EXPECT_TRUE(state.cancelled);
    EXPECT_EQ(img.results.cookieDetections().size(), 5u);
    EXPECT_EQ(img.counters.registryInspected, 0);
    EXPECT_EQ(img.counters.filesAndFoldersInspected, 0);
    EXPECT_TRUE(img.results.fileDetections().empty());
    EXPECT_EQ(img.progress.status().caption, "Scanning was cancelled.");
    EXPECT_EQ(img.progress.status().stageCaption, "0% Completed.");
    EXPECT_EQ(img.settings->get(skey::Settings, skey::lastScan), state.scanFinished);
    EXPECT_NE(img.report().find("Cookie: alice@ads["), std::string::npos);
    ASSERT_EQ(img.host.asked().size(), 1u);
    EXPECT_EQ(img.host.asked()[0].text, "Are you sure you want to stop the scan?");
    EXPECT_EQ(img.host.asked()[0].title, "Vedozer Test");
}

}  // namespace
}  // namespace vedozer
