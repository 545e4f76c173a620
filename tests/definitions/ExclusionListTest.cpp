#include <gtest/gtest.h>

#include <random>

#include "definitions/DefinitionFiles.h"
#include "definitions/ExclusionList.h"
#include "support/ListReference.h"
#include "support/MemoryFileSystem.h"

namespace vedozer {
namespace {

const std::string kFolder = "D:\\Data";

TEST(ExclusionListTest, TextFormKeepsNonBlankLinesAsRead) {
    ExclusionList list({"C:\\a.exe", "", "   ", " Spy Name ", "HKEY_LOCAL_MACHINE\\Software\\Bad"});
    EXPECT_EQ(list.text(), "C:\\a.exe| Spy Name |HKEY_LOCAL_MACHINE\\Software\\Bad|");
    EXPECT_TRUE(ExclusionList().text().empty());
    EXPECT_TRUE(ExclusionList({"", " "}).empty());
}

TEST(ExclusionListTest, EmptyItemIsExcludedOnlyWhenTheListHasEntries) {
    EXPECT_FALSE(ExclusionList().IsExcluded(""));
    EXPECT_FALSE(ExclusionList().IsExcludedFolder(""));
    ExclusionList one({"C:\\a.exe"});
    EXPECT_TRUE(one.IsExcluded(""));
    EXPECT_TRUE(one.IsExcluded("   "));  // trimmed to the empty piece
    EXPECT_TRUE(one.IsExcludedFolder(""));
}

TEST(ExclusionListTest, CaseIsIgnoredAndTheItemMayBeTrimmed) {
    ExclusionList list({"C:\\Program Files\\AdBuddy\\adbuddy.exe", "AdBuddy Toolbar"});
    EXPECT_TRUE(list.IsExcluded("c:\\program files\\adbuddy\\ADBUDDY.EXE"));
    EXPECT_TRUE(list.IsExcluded("  AdBuddy Toolbar  "));
    EXPECT_FALSE(list.IsExcluded("AdBuddy"));
    EXPECT_FALSE(list.IsExcluded("C:\\Program Files\\AdBuddy"));
    EXPECT_FALSE(list.IsExcluded("AdBuddy Toolbar|"));
}

TEST(ExclusionListTest, EntryWithTrailingBlanksMatchesOnlyTheSameBlanks) {
    ExclusionList list({"C:\\bad.exe  "});
    EXPECT_TRUE(list.IsExcluded("c:\\BAD.exe  "));
    EXPECT_FALSE(list.IsExcluded("C:\\bad.exe"));
    EXPECT_FALSE(list.IsExcluded("C:\\bad.exe "));
}

TEST(ExclusionListTest, EntriesHoldingBarsSplitIntoPieces) {
    ExclusionList list({"first|second"});
    EXPECT_TRUE(list.IsExcluded("first"));
    EXPECT_TRUE(list.IsExcluded("SECOND"));
    EXPECT_FALSE(list.IsExcluded("first|second"));
    EXPECT_FALSE(list.IsExcludedFolder("t|s"));
}

TEST(ExclusionListTest, FolderTestAlsoMatchesPathsInsideEntries) {
    ExclusionList list({"C:\\Program Files\\AdBuddy\\adbuddy.exe", "HKEY_CURRENT_USER\\Software\\X"});
    EXPECT_TRUE(list.IsExcludedFolder("c:\\program files\\adbuddy"));
    EXPECT_TRUE(list.IsExcludedFolder("C:\\"));  // a drive root is inside any entry on that drive
    EXPECT_TRUE(list.IsExcludedFolder("Files\\Ad"));
    EXPECT_FALSE(list.IsExcludedFolder("D:\\"));
    EXPECT_FALSE(list.IsExcluded("C:\\"));
    EXPECT_FALSE(list.IsExcludedFolder("C:\\Program Files\\AdBuddy\\adbuddy.exe\\x"));
    // A hit may not span two pieces.
    EXPECT_FALSE(list.IsExcludedFolder("exeHKEY"));
}

TEST(ExclusionListTest, FolderAnswersStayTheSameOnceTheListIsIndexed) {
    std::vector<std::string> lines;
    for (int k = 0; k < 200; ++k) lines.push_back("C:\\Program Files\\Other " + std::to_string(k) + "\\tool.exe");
    const ExclusionList list(lines);
    // Far more folder tests than a scan makes before the text is indexed; every answer as the first.
    for (int round = 0; round < 3; ++round) {
        for (int k = 0; k < 250; ++k) {
            SCOPED_TRACE(std::to_string(round) + "/" + std::to_string(k));
            EXPECT_EQ(list.IsExcludedFolder("c:\\program files\\OTHER " + std::to_string(k)), k < 200);
            EXPECT_EQ(list.IsExcludedFolder("ther " + std::to_string(k) + "\\TOOL"), k < 200);
        }
        EXPECT_FALSE(list.IsExcludedFolder("exe|C:"));
    }
}

TEST(ExclusionListTest, AgreesWithTheLiteralTestOnRandomLists) {
    std::mt19937 rng(3);
    const std::string alphabet = "aAbB \\|xX";
    auto randomText = [&](size_t maxLen) {
        std::string s(rng() % (maxLen + 1), ' ');
        for (char& c : s) c = alphabet[rng() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> lines;
        for (int i = rng() % 6; i > 0; --i) lines.push_back(randomText(5));
        ExclusionList list(lines);
        for (int q = 0; q < 50; ++q) {
            std::string item = randomText(4);
            ASSERT_EQ(list.IsExcluded(item), test::referenceIsExcluded(list.text(), item))
                << "[" << list.text() << "] item [" << item << "]";
            ASSERT_EQ(list.IsExcludedFolder(item), test::referenceIsExcluded(list.text(), item, true))
                << "[" << list.text() << "] item [" << item << "]";
        }
    }
}

TEST(ExclusionListTest, LoadsFromTheDataFolder) {
    test::MemoryFileSystem fs;
    fs.addFolder(kFolder);
    ExclusionList list({"stale"});
    LoadExclusions(list, fs, kFolder);
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(list.IsExcluded(""));
    fs.addFile(kFolder + "\\ENoSignature.dat", "C:\\a.exe\r\n\r\n  \r\nSpy\rName\r\nlast");
    LoadExclusions(list, fs, kFolder);
    EXPECT_EQ(list.text(), "C:\\a.exe|Spy\rName|last|");
}

TEST(ExclusionListTest, AddAppendsTrimmedAndReloads) {
    test::MemoryFileSystem fs;
    fs.addFolder(kFolder);
    ExclusionList list;
    AddExclusion(list, fs, kFolder, "  C:\\Program Files\\AdBuddy\\adbuddy.exe  ");
    AddExclusion(list, fs, kFolder, "AdBuddy Toolbar");
    EXPECT_EQ(fs.content(kFolder + "\\ENoSignature.dat"),
              "C:\\Program Files\\AdBuddy\\adbuddy.exe\r\nAdBuddy Toolbar\r\n");
    EXPECT_TRUE(list.IsExcluded("c:\\program files\\adbuddy\\adbuddy.exe"));
    EXPECT_TRUE(list.IsExcluded("AdBuddy Toolbar"));

    // A hand edit made meanwhile is picked up by the reload.
    fs.append(kFolder + "\\ENoSignature.dat", "edited\r\n");
    AddExclusion(list, fs, kFolder, "third");
    EXPECT_TRUE(list.IsExcluded("edited"));
}

TEST(ExclusionListTest, AddRefusesItemsThatWouldBecomeTwoLines) {
    test::MemoryFileSystem fs;
    fs.addFolder(kFolder);
    ExclusionList list;
    AddExclusion(list, fs, kFolder, "value\r\nC:\\WINDOWS");
    EXPECT_FALSE(fs.exists(kFolder + "\\ENoSignature.dat"));
    EXPECT_FALSE(list.IsExcludedFolder("C:\\WINDOWS"));
    AddExclusion(list, fs, kFolder, "lone\rcr");
    EXPECT_TRUE(list.IsExcluded("lone\rcr"));
}

TEST(ExclusionListTest, AddFailureStillReloads) {
    test::MemoryFileSystem fs;
    fs.addFolder(kFolder);
    fs.addFile(kFolder + "\\ENoSignature.dat", "kept\r\n");
    fs.lock(kFolder + "\\ENoSignature.dat");
    ExclusionList list;
    AddExclusion(list, fs, kFolder, "new");
    EXPECT_FALSE(list.IsExcluded("new"));
    fs.unlock(kFolder + "\\ENoSignature.dat");
    AddExclusion(list, fs, kFolder, "new");
    EXPECT_TRUE(list.IsExcluded("kept"));
    EXPECT_TRUE(list.IsExcluded("new"));
}

TEST(ExclusionList, ASpywareNameOnTheListHoldsBackItsDetectionsButABlankNameNever) {
    ExclusionList list({"AdBuddy Toolbar", "C:\\x.exe"});
    EXPECT_TRUE(list.IsExcludedName("adbuddy toolbar "));
    EXPECT_FALSE(list.IsExcludedName("AdBuddy"));
    EXPECT_TRUE(list.IsExcluded("")) << "the empty piece after the last | (kept as it is)";
    EXPECT_FALSE(list.IsExcludedName(""));
    EXPECT_FALSE(list.IsExcludedName("  "));
}

}  // namespace
}  // namespace vedozer
