#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "ScanImage.h"
#include "VersionResource.h"
#include "platform/image/PosixFiles.h"
#include "scan/FileScan.h"

namespace vedozer {
namespace {

using test::ScanImage;

TEST(FileScan, DriveTokenTwoFilesOfOneNameAndNamesDifferingInCase) {
    ScanImage img;
    img.onlyFiles();
    img.definitionFile(kFileDefinitionFile, {
                                                "foo.dll=BadThing|[drive]WINDOWS\\\\system32|Adware",
                                                "bar.dll=badthing|[drive]Program Files\\Bad|Other type",
                                                "absent.dll=Other|[drive]Nowhere|Typed",
                                                "present.dll=Other|[drive]Program Files\\Bad",
                                            });
    img.write("Windows/System32/foo.dll", "x");
    img.write("Program Files/Bad/bar.dll", "x");
    img.write("Program Files/Bad/present.dll", "x");
    ScanRunState state = img.scan();
    EXPECT_FALSE(state.cancelled);

    const auto& files = img.results.fileDetections();
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0], (FileWorkRow{"C:\\WINDOWS\\system32\\foo.dll", "BadThing"}));
    EXPECT_EQ(files[1], (FileWorkRow{"C:\\Program Files\\Bad\\bar.dll", "badthing"}));
    EXPECT_EQ(files[2], (FileWorkRow{"C:\\Program Files\\Bad\\present.dll", "Other"}));
    ASSERT_EQ(img.results.removalList().size(), 2u);
    // The first hit's path; the type of an absent line does not carry over to the next hit.
    EXPECT_EQ(img.results.removalList()[0],
              (ThreatRecord{"BadThing", "C:\\WINDOWS\\system32\\foo.dll", "Adware", kIconFile, false}));
    EXPECT_EQ(img.results.removalList()[1], (ThreatRecord{"Other", "C:\\Program Files\\Bad\\present.dll", "", kIconFile, false}));
    EXPECT_EQ(img.foundTexts(), (std::vector<std::string>{"BadThing - Found", "Other - Found"}));
    EXPECT_EQ(img.results.traces(), 3);
    EXPECT_EQ(img.counters.softwareFound, 2);
    EXPECT_EQ(img.counters.filesAndFoldersInspected, 4);
    EXPECT_EQ(img.progress.status().tally.traces, 3);
    EXPECT_EQ(img.progress.status().tally.filesInspected, 4);
}

TEST(FileScan, AccentedNamesMatchWithoutRegardToCaseLikeAsciiOnes) {
    ScanImage img;
    img.onlyFiles();
    img.definitionFile(kFileDefinitionFile, {"\xDC" "berwacher.exe=Watcher|[drive]Programme\\\xC4rger",
                                             "Lower.exe=Lower|[drive]Programme\\\xC4rger"});
    img.exclusionFile({"C:\\PROGRAMME\\\xC4RGER\\LOWER.EXE"});
    // On the disk (UTF-8 names) everything is in lower case.
    img.write("programme/\xC3\xA4rger/\xC3\xBC" "berwacher.exe", "x");
    img.write("programme/\xC3\xA4rger/lower.exe", "x");
    img.scan();
    ASSERT_EQ(img.results.fileDetections().size(), 1u);
    EXPECT_EQ(img.results.fileDetections()[0].spywareName, "Watcher");
    // The exclusion list compares by the same rule.
    EXPECT_EQ(img.foundTexts(), (std::vector<std::string>{"Watcher - Found", "EXCLUDED: C:\\Programme\\\xC4rger\\Lower.exe"}));
}

// A FIFO where a definition names a file: the scan reads no company name from it and goes on (it
// used to wait for a writer forever).
TEST(FileScan, AFifoInPlaceOfAFileDoesNotStopTheScan) {
    ScanImage img;
    img.onlyFiles();
    img.definitionFile(kFileDefinitionFile, {"pipe.dll=Piped|[drive]App", "real.dll=Real|[drive]App"});
    img.write("App/real.dll", "x");
    ASSERT_EQ(::mkfifo((img.drive + "/App/pipe.dll").c_str(), 0644), 0);
    ::alarm(30);
    ScanRunState state = img.scan();
    ::alarm(0);
    EXPECT_FALSE(state.cancelled);
    EXPECT_EQ(img.counters.filesAndFoldersInspected, 2);
    auto found = img.foundTexts();
    EXPECT_NE(std::find(found.begin(), found.end(), "Real - Found"), found.end());
}

TEST(FileScan, ExcludedSafeMicrosoftAndHiddenFilesAreNotReported) {
    ScanImage img;
    img.onlyFiles();
    img.definitionFile(kFileDefinitionFile, {
                                                "excl.dll=Ex|[drive]App",
                                                "safe.dll=Safe|[drive]App",
                                                "ms.dll=Ms|[drive]App",
                                                "ms2.dll=Ms2|[drive]App",
                                                "hidden.dll=Hid|[drive]App",
                                                "other.dll=NotMs|[drive]App",
                                            });
    img.definitionFile(kSafetyFile, {"SFILE|safe.dll|[drive]App\\safe.dll"});
    img.exclusionFile({"c:\\app\\EXCL.dll"});
    img.write("App/excl.dll", "x");
    img.write("App/safe.dll", "x");
    img.write("App/ms.dll", test::executableWithCompany("Microsoft Corporation"));
    img.write("App/ms2.dll", test::executableWithCompany("  MICROSOFT corporation "));
    img.write("App/other.dll", test::executableWithCompany("Microsoft Corp."));
    auto hidden = img.write("App/hidden.dll", "x");
    bool hiddenSet = posix::setDosAttributes(hidden.string(), kAttrHidden);
    img.scan();

    std::vector<std::string> expected{"EXCLUDED: C:\\App\\excl.dll", "NotMs - Found"};
    if (!hiddenSet) expected.push_back("Hid - Found");  // no user attributes on this file system
    auto found = img.foundTexts();
    std::sort(found.begin(), found.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);
    EXPECT_EQ(img.results.foundList()[0].icon, kIconExcluded);
    EXPECT_EQ(img.results.traces(), hiddenSet ? 1 : 2);  // the excluded file is no trace
    EXPECT_EQ(img.counters.filesAndFoldersInspected, 6);
}

TEST(FileScan, DirectoryDefinitions) {
    ScanImage img;
    img.onlyFiles();
    img.definitionFile(kDirectoryDefinitionFile, {
                                                     "Bad\ttoolbar=DirThing|[progfil]\\BadDir|Toolbar",
                                                     "no location=Nothing",
                                                     "empty location=Nothing|",
                                                     "kept=Kept|[drive]Program Files\\KeepDir",
                                                     "again=dirthing|[drive]Program Files\\BadDir\\Sub",
                                                     "absent=Gone|[drive]Program Files\\GoneDir",
                                                 });
    img.exclusionFile({"C:\\Program Files\\KeepDir\\and more"});  // a piece containing the folder excludes it
    img.write("Program Files/BadDir/Sub/x.txt", "x");
    img.write("Program Files/KeepDir/y.txt", "y");
    img.scan();
    EXPECT_EQ(img.counters.filesAndFoldersInspected, 4);  // lines without a folder are not counted
    ASSERT_EQ(img.results.fileDetections().size(), 2u);
    EXPECT_EQ(img.results.fileDetections()[0], (FileWorkRow{"C:\\Program Files\\BadDir", "DirThing", false, true}));
    EXPECT_EQ(img.results.fileDetections()[1], (FileWorkRow{"C:\\Program Files\\BadDir\\Sub", "dirthing", false, true}));
    ASSERT_EQ(img.results.removalList().size(), 1u);
    EXPECT_EQ(img.results.removalList()[0],
              (ThreatRecord{"DirThing", "C:\\Program Files\\BadDir", "Toolbar", kIconFolder, false}));
    EXPECT_EQ(img.foundTexts(),
              (std::vector<std::string>{"DirThing - Found", "EXCLUDED: C:\\Program Files\\KeepDir"}));
    EXPECT_EQ(img.results.foundList()[0].icon, kIconFolder);
}

TEST(FileScan, HostileAndCorruptLinesStayInsideTheImage) {
    ScanImage img;
    img.onlyFiles();
    img.dir.write("outside.dll", "host file beside the image");
    img.dir.write("C/inside.dll", "x");
    std::string junk;
    for (int i = 0; i < 300; ++i) junk.push_back(static_cast<char>(i % 256));
    img.definitionFile(kFileDefinitionFile, {
                                                "outside.dll=Escape|[drive]..",
                                                "outside.dll=Escape|C:\\..\\..",
                                                img.dir.str() + "/outside.dll=Absolute",
                                                "passwd=Escape|/etc",
                                                "no equals sign|[drive]",
                                                junk,
                                                std::string(200000, 'a') + "=Long|[drive]",
                                                "",
                                                "inside.dll=Inside|[drive]",
                                            });
    img.definitionFile(kDirectoryDefinitionFile, {"up=Escape|[drive]..\\..", "junk without a bar", junk});
    ScanRunState state = img.scan();
    EXPECT_FALSE(state.cancelled);
    ASSERT_EQ(img.results.removalList().size(), 1u);
    EXPECT_EQ(img.results.removalList()[0].name, "Inside");
    EXPECT_EQ(img.results.removalList()[0].location, "C:\\inside.dll");
    // What was passed over is told.
    const auto& notes = img.results.skippedNotes();
    auto mentions = [&](const std::string& what) {
        return std::any_of(notes.begin(), notes.end(), [&](const std::string& n) { return n.find(what) != std::string::npos; });
    };
    EXPECT_TRUE(mentions("FileDefinition.dat line 5: no \"=\""));
    EXPECT_TRUE(mentions("FileDefinition.dat line 7: too long"));
    EXPECT_TRUE(mentions("DirectoryDefinition.dat line 2: no folder"));
    EXPECT_FALSE(mentions("line 8"));  // a blank line is no fault
}

TEST(FileScan, TruncatedExecutableHasNoCompanyAndIsReported) {
    ScanImage img;
    img.onlyFiles();
    std::string exe = test::executableWithCompany("Microsoft Corporation");
    // Cut inside the company name: no end of the value, so no company.
    img.write("App/cut.exe", exe.substr(0, exe.find(test::W("Microsoft")) + 7));
    img.write("App/whole.exe", exe);
    img.definitionFile(kFileDefinitionFile, {"cut.exe=Cut|[drive]App", "whole.exe=Whole|[drive]App"});
    img.scan();
    ASSERT_EQ(img.results.removalList().size(), 1u);
    EXPECT_EQ(img.results.removalList()[0].name, "Cut");
}

TEST(FileScan, StopDuringTheFileStageEndsItAtTheNextLine) {
    ScanImage img;
    img.onlyFiles();
    std::vector<std::string> lines;
    for (int i = 0; i < 50; ++i) {
        lines.push_back("f" + std::to_string(i) + ".dll=Thing" + std::to_string(i) + "|[drive]App");
        img.write("App/f" + std::to_string(i) + ".dll", "x");
    }
    img.definitionFile(kFileDefinitionFile, lines);
    img.host.onYield([&](int n) {
        if (n == 10) img.stopFlag = true;
    });
    ScanRunState state = img.scan();
    EXPECT_TRUE(state.cancelled);
    EXPECT_EQ(img.counters.filesAndFoldersInspected, 10);
    EXPECT_EQ(img.results.removalList().size(), 10u);
    EXPECT_EQ(img.progress.status().caption, "Scanning was cancelled.");
}

}  // namespace
}  // namespace vedozer
