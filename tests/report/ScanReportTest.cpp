#include <gtest/gtest.h>

#include <string>

#include "report/ScanReport.h"
#include "support/MemoryFileSystem.h"

namespace vedozer {
namespace {

ScanReportInput sampleInput() {
    ScanReportInput in;
    in.programName = "Vedozer Anti-Spyware";
    in.majorVersion = 1;
    in.minorVersion = 4;
    in.scanStarted = "3/16/2006 10:00:00 AM";
    in.scanFinished = "3/16/2006 10:05:00 AM";
    in.memoryInspected = "12";
    in.registryInspected = "340";
    in.filesFoldersInspected = "Not Selected";
    return in;
}

const std::string kHead =
    "\r\n\r\n"
    "                   Vedozer Anti-Spywarev1.4   Scan Report.\r\n\r\n"
    "\r\n\r\n"
    "-----------------------\r\n\r\n"
    " Scan Started at  : 3/16/2006 10:00:00 AM\r\n\r\n"
    " Scan Finished at : 3/16/2006 10:05:00 AM\r\n\r\n"
    "-----------------------\r\n\r\n"
    "\r\n\r\n\r\n\r\n\r\n\r\n"
    " 1)Total Number of Cookies and Processes inspected: 12\r\n\r\n"
    " 2)Total Number of Registry entries inspected: 340\r\n\r\n"
    " 3)Total Number of Files/Folders inspected: Not Selected\r\n\r\n"
    "\r\n\r\n"
    "[Threats Detected]\r\n\r\n\r\n";
const std::string kTail = "\r\n\r\n=====================End Of Report.\r\n";

TEST(ScanReport, NothingFoundNoSections) {
    std::string r = buildScanReport(sampleInput());
    EXPECT_EQ(r, kHead + "Total = 0\r\n\r\n" + kTail);
    EXPECT_EQ(r.find("[Files Currently Excluded]"), std::string::npos);
    EXPECT_EQ(r.find("[Current Quarantine Log]"), std::string::npos);
}

TEST(ScanReport, RowsExclusionsAndQuarantine) {
    ScanReportInput in = sampleInput();
    in.threats = {{"BadThing", "C:\\bad.dll"}, {"Cookie: me@ads[1].txt", "C:\\Cookies\\me@ads[1].txt"}};
    in.exclusionLines = {"C:\\keep.dll", "", " ", "  ", "HKEY_LOCAL_MACHINE\\Software\\Keep"};
    in.quarantineLogLines = {"first", ""};
    std::string r = buildScanReport(in);
    std::string expected = kHead +
                           "BadThing\r\n\r\n"
                           "C:\\bad.dll\r\n\r\n\r\n"
                           "Cookie: me@ads[1].txt\r\n\r\n"
                           "C:\\Cookies\\me@ads[1].txt\r\n\r\n\r\n"
                           "Total = 2\r\n\r\n"
                           "\r\n[Files Currently Excluded]\r\n\r\n"
                           "C:\\keep.dll\r\n  \r\nHKEY_LOCAL_MACHINE\\Software\\Keep\r\n\r\n\r\n"
                           "\r\n[Current Quarantine Log]\r\n\r\n"
                           "first\r\n\r\n\r\n\r\n\r\n\r\n\r\n" +
                           kTail;
    EXPECT_EQ(r, expected);
}

TEST(ScanReport, OnlyBlankExclusionLinesGiveNoSection) {
    ScanReportInput in = sampleInput();
    in.exclusionLines = {"", " "};
    EXPECT_EQ(buildScanReport(in).find("[Files Currently Excluded]"), std::string::npos);
    in.quarantineLogLines = {""};  // one empty line still makes the section
    EXPECT_NE(buildScanReport(in).find("[Current Quarantine Log]"), std::string::npos);
}

TEST(ScanReport, ControlCharactersOfNamesAreEscapedAndTheLayoutHolds) {
    ScanReportInput in = sampleInput();
    // A cookie file named with an escape sequence that would retitle a terminal.
    in.threats = {{"Cookie: a\x1b]0;owned\x07[1].txt", "C:\\Cookies\\x\r\ny"}};
    in.exclusionLines = {"C:\\tab\there"};
    in.uncheckedLocations = {"HKEY_USERS\\S\x9d"};
    std::string r = buildScanReport(in);
    EXPECT_NE(r.find("Cookie: a\\x1B]0;owned\\x07[1].txt\r\n\r\nC:\\Cookies\\x\\x0D\\x0Ay\r\n"), std::string::npos) << r;
    EXPECT_NE(r.find("C:\\tab\\x09here\r\n"), std::string::npos);
    EXPECT_NE(r.find("HKEY_USERS\\S\\x9D\r\n"), std::string::npos);
    EXPECT_EQ(r.find('\x1b'), std::string::npos);
    EXPECT_EQ(r.find('\x07'), std::string::npos);
}

TEST(ReportViewer, BlankLinesBecomeBreaksOthersAreJoined) {
    EXPECT_EQ(reportViewerText("a\r\n\r\nb\r\n  \r\nc\r\nd\r\n"), "a\r\nb\r\ncd");
    EXPECT_EQ(reportViewerText(""), "");
    EXPECT_EQ(reportWindowCaption("Vedozer"), "Vedozer Log");

    ScanReportInput in = sampleInput();
    in.threats = {{"BadThing", "C:\\bad.dll"}};
    in.exclusionLines = {"C:\\keep1.dll", "C:\\keep2.dll"};
    in.quarantineLogLines = {"q1", "q2"};
    std::string shown = reportViewerText(buildScanReport(in));
    // Single-spaced, exclusion entries joined on one line, quarantine lines apart.
    EXPECT_NE(shown.find("\r\nBadThing\r\nC:\\bad.dll\r\n"), std::string::npos);
    EXPECT_NE(shown.find("C:\\keep1.dllC:\\keep2.dll"), std::string::npos);
    EXPECT_NE(shown.find("q1\r\nq2\r\n"), std::string::npos);
    EXPECT_EQ(shown.substr(shown.size() - 35), "=====================End Of Report.");
}

}  // namespace
}  // namespace vedozer

namespace vedozer {
namespace {

TEST(MakeReport, WritesReplacesAndReadsTheDataFolderFiles) {
    test::MemoryFileSystem fs;
    fs.addFolder("C:\\Data\\quarantine");
    fs.addFile("C:\\Data\\ENoSignature.dat", "C:\\keep.dll\r\n \r\n");
    fs.addFile("C:\\Data\\quarantine\\QuarantineLog.txt", "3/16/2006 Quarantined C:\\bad.dll\r\n");
    ScanReportInput in = sampleInput();
    in.threats = {{"BadThing", "C:\\bad.dll"}};
    ASSERT_TRUE(MakeReport(fs, "C:\\Data", in));
    auto first = fs.content("C:\\Data\\Scan_Log.txt");
    ASSERT_TRUE(first.has_value());
    EXPECT_NE(first->find("[Files Currently Excluded]\r\n\r\nC:\\keep.dll\r\n\r\n"), std::string::npos);
    EXPECT_NE(first->find("[Current Quarantine Log]\r\n\r\n3/16/2006 Quarantined C:\\bad.dll\r\n"), std::string::npos);
    EXPECT_NE(loadReportViewerText(fs, "C:\\Data").find("BadThing\r\nC:\\bad.dll"), std::string::npos);

    // The second report replaces the first completely; unreadable files leave their sections out.
    fs.failReadsAfter("C:\\Data\\ENoSignature.dat", 3);
    fs.deleteFile("C:\\Data\\quarantine\\QuarantineLog.txt");
    ASSERT_TRUE(MakeReport(fs, "C:\\Data", sampleInput()));
    EXPECT_EQ(*fs.content("C:\\Data\\Scan_Log.txt"), buildScanReport(sampleInput()));
}

TEST(MakeReport, MissingDataFolderFailsAndViewerIsEmpty) {
    test::MemoryFileSystem fs;
    EXPECT_FALSE(MakeReport(fs, "C:\\Nowhere", sampleInput()));
    EXPECT_EQ(loadReportViewerText(fs, "C:\\Nowhere"), "");
}

}  // namespace
}  // namespace vedozer
