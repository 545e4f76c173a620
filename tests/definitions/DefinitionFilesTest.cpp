#include <gtest/gtest.h>

#include "definitions/DefinitionFiles.h"
#include "definitions/LineCodec.h"
#include "support/FakeShellFolders.h"
#include "support/MemoryFileSystem.h"

namespace vedozer {
namespace {

const std::string kFolder = "C:\\Documents and Settings\\Alice\\Application Data\\RozaVedozerEZO";

class DefinitionFilesTest : public ::testing::Test {
protected:
    void SetUp() override { fs.addFolder(kFolder); }
    std::string at(const std::string& name) const { return kFolder + "\\" + name; }
    void put(const std::string& name, const std::string& content) { fs.addFile(at(name), content); }
    void putAllFive() {
        for (const char* n : {kFileDefinitionFile, kRegistryDefinitionFile, kExeDefinitionFile,
                              kBlockedCookiesFile, kDirectoryDefinitionFile})
            put(n, "x\r\n");
    }
    test::MemoryFileSystem fs;
};

TEST_F(DefinitionFilesTest, DataFolderAndPaths) {
    auto shell = test::FakeShellFolders::windowsXp();
    EXPECT_EQ(defaultDataFolder(shell), kFolder);
    EXPECT_EQ(dataFilePath(kFolder, "date.dat"), kFolder + "\\date.dat");
}

TEST(FileNamePartTest, TakesTheTextAfterTheLastBackslash) {
    EXPECT_EQ(FileNamePart("C:\\a\\b.exe"), "b.exe");
    EXPECT_EQ(FileNamePart("b.exe"), "b.exe");
    EXPECT_EQ(FileNamePart("C:\\a\\"), "");
    EXPECT_EQ(FileNamePart(""), "");
    EXPECT_EQ(FileNamePart("C:/a/b.exe"), "C:/a/b.exe");
}

TEST_F(DefinitionFilesTest, FileExistsFindsOrdinaryFilesOnly) {
    fs.addFile("C:\\Dir\\Plain.TXT");
    fs.addFile("C:\\Dir\\hidden.txt", "", kAttrHidden);
    fs.addFile("C:\\Dir\\system.txt", "", kAttrSystem);
    fs.addFile("C:\\Dir\\readonly.txt", "", kAttrReadOnly);
    EXPECT_TRUE(FileExists(fs, "C:\\Dir\\Plain.TXT"));
    EXPECT_TRUE(FileExists(fs, "c:\\dir\\plain.txt"));
    EXPECT_TRUE(FileExists(fs, "C:\\Dir\\readonly.txt"));
    EXPECT_FALSE(FileExists(fs, "C:\\Dir\\hidden.txt"));
    EXPECT_FALSE(FileExists(fs, "C:\\Dir\\system.txt"));
    EXPECT_FALSE(FileExists(fs, "C:\\Dir"));
    EXPECT_FALSE(FileExists(fs, "C:\\Dir\\"));
    EXPECT_FALSE(FileExists(fs, "C:\\Dir\\missing.txt"));
    EXPECT_FALSE(FileExists(fs, ""));
    // The entry's name must be the path's own name part: a path written with "/" does not qualify.
    EXPECT_FALSE(FileExists(fs, "C:\\Dir/Plain.TXT"));
}

TEST_F(DefinitionFilesTest, StagedCopiesReplaceLiveFiles) {
    put(std::string("DL") + kBlockedCookiesFile, "new cookies\r\n");
    put(kBlockedCookiesFile, "old cookies\r\n");
    put(std::string("DL") + kExeDefinitionFile, "new exe\r\n");  // live file missing
    put(kFileDefinitionFile, "live files\r\n");                  // no staged copy
    put(std::string("DL") + kDirectoryDefinitionFile, "never staged\r\n");
    put(std::string("DL") + kSafetyFile, "never staged\r\n");
    InstallStagedDefinitions(fs, kFolder);
    EXPECT_EQ(fs.content(at(kBlockedCookiesFile)), "new cookies\r\n");
    EXPECT_FALSE(fs.exists(at(std::string("DL") + kBlockedCookiesFile)));
    EXPECT_EQ(fs.content(at(kExeDefinitionFile)), "new exe\r\n");
    EXPECT_EQ(fs.content(at(kFileDefinitionFile)), "live files\r\n");
    EXPECT_FALSE(fs.exists(at(kRegistryDefinitionFile)));
    EXPECT_FALSE(fs.exists(at(kDirectoryDefinitionFile)));
    EXPECT_TRUE(fs.exists(at(std::string("DL") + kDirectoryDefinitionFile)));
    EXPECT_FALSE(fs.exists(at(kSafetyFile)));
}

TEST_F(DefinitionFilesTest, AFailedStagedRenameLeavesTheLiveFileWhole) {
    put(std::string("DL") + kRegistryDefinitionFile, "new\r\n");
    put(kRegistryDefinitionFile, "old\r\n");
    fs.lock(at(std::string("DL") + kRegistryDefinitionFile));
    put(std::string("DL") + kFileDefinitionFile, "new files\r\n");
    InstallStagedDefinitions(fs, kFolder);
    EXPECT_EQ(fs.content(at(kRegistryDefinitionFile)), "old\r\n");
    EXPECT_EQ(fs.content(at(kFileDefinitionFile)), "new files\r\n");  // the next file still went in
}

TEST_F(DefinitionFilesTest, CountsEveryLineOfTheFiveFiles) {
    put(kBlockedCookiesFile, "a\r\nb\r\n");
    put(kExeDefinitionFile, "a\r\n\r\n\r\n");     // blank lines count
    put(kRegistryDefinitionFile, "a\r\nb\r\nc");  // last line without CR LF
    put(kFileDefinitionFile, "a\rb\nc\r\n");      // lone CR and LF are no line ends
    put(kDirectoryDefinitionFile, "");            // empty: 0
    put(kSafetyFile, "a\r\nb\r\n");               // not counted
    DefinitionSet set;
    set.dataFolder = kFolder;
    set.total = 99;
    EXPECT_EQ(CountDefinitions(fs, set), 2 + 3 + 3 + 1);
    EXPECT_EQ(set.cookieCount, 2);
    EXPECT_EQ(set.executableCount, 3);
    EXPECT_EQ(set.registryCount, 3);
    EXPECT_EQ(set.fileCount, 1);
    EXPECT_EQ(set.total, 9);
}

TEST_F(DefinitionFilesTest, CountSkipsMissingHiddenAndUnreadableFiles) {
    put(kBlockedCookiesFile, "a\r\n");
    fs.addFile(at(kExeDefinitionFile), "a\r\nb\r\n", kAttrHidden);
    put(kDirectoryDefinitionFile, "a\r\nb\r\n");
    fs.failReadsAfter(at(kDirectoryDefinitionFile), 3);
    DefinitionSet set{kFolder, 5, 5, 5, 5, 5};
    EXPECT_EQ(CountDefinitions(fs, set), 1);
    EXPECT_EQ(set.executableCount, 0);
    EXPECT_EQ(set.registryCount, 0);
    EXPECT_EQ(set.fileCount, 0);
}

TEST_F(DefinitionFilesTest, CountIsIndependentOfReadChunks) {
    std::string lines;
    for (int i = 0; i < 1000; ++i) lines += EncodeDefinitionLine("line " + std::to_string(i)) + "\r\n";
    put(kFileDefinitionFile, lines);
    fs.setReadChunk(7);
    DefinitionSet set{kFolder};
    EXPECT_EQ(CountDefinitions(fs, set), 1000);
}

TEST_F(DefinitionFilesTest, CheckPassesWhenAllFiveExist) {
    putAllFive();
    put(kDateFile, "1/2/2007 3:04:05 PM\r\n");
    EXPECT_TRUE(CheckDefinitionFiles(fs, kFolder));
    EXPECT_TRUE(fs.exists(at(kDateFile)));
}

TEST_F(DefinitionFilesTest, OneMissingFileDeletesTheOthersAndTheDate) {
    for (const char* missing : {kFileDefinitionFile, kRegistryDefinitionFile, kExeDefinitionFile,
                                kBlockedCookiesFile, kDirectoryDefinitionFile}) {
        putAllFive();
        put(kDateFile, "1/2/2007 3:04:05 PM\r\n");
        put(kSafetyFile, "s\r\n");
        fs.deleteFile(at(missing));
        EXPECT_FALSE(CheckDefinitionFiles(fs, kFolder)) << missing;
        for (const char* n : {kFileDefinitionFile, kRegistryDefinitionFile, kExeDefinitionFile,
                              kBlockedCookiesFile, kDirectoryDefinitionFile, kDateFile})
            EXPECT_FALSE(fs.exists(at(n))) << missing << " " << n;
        EXPECT_TRUE(fs.exists(at(kSafetyFile)));
        EXPECT_EQ(ReadDefinitionDate(fs, kFolder), kDefaultDefinitionDate);
    }
}

TEST_F(DefinitionFilesTest, DeleteGoesOnPastFailures) {
    putAllFive();
    fs.lock(at(kDirectoryDefinitionFile));
    DeleteDefinitionFiles(fs, kFolder);
    EXPECT_TRUE(fs.exists(at(kDirectoryDefinitionFile)));
    EXPECT_FALSE(fs.exists(at(kFileDefinitionFile)));
}

TEST_F(DefinitionFilesTest, DefinitionDate) {
    EXPECT_EQ(ReadDefinitionDate(fs, kFolder), "3/16/2006 12:00:00 AM");
    WriteDefinitionDate(fs, kFolder, "7/1/2008 9:30:00 PM");
    EXPECT_EQ(fs.content(at(kDateFile)), "7/1/2008 9:30:00 PM\r\n");
    EXPECT_EQ(ReadDefinitionDate(fs, kFolder), "7/1/2008 9:30:00 PM");
    put(kDateFile, "first\r\nsecond\r\n");
    EXPECT_EQ(ReadDefinitionDate(fs, kFolder), "first");
    put(kDateFile, "");
    EXPECT_EQ(ReadDefinitionDate(fs, kFolder), "");
    WriteDefinitionDate(fs, kFolder, "8/1/2008 1:00:00 AM");
    EXPECT_EQ(fs.content(at(kDateFile)), "8/1/2008 1:00:00 AM\r\n");
}

TEST_F(DefinitionFilesTest, DateWriteFailureKeepsTheOldDate) {
    WriteDefinitionDate(fs, kFolder, "7/1/2008 9:30:00 PM");
    fs.lock(at(kDateFile));
    WriteDefinitionDate(fs, kFolder, "9/9/2009 9:09:09 AM");
    fs.unlock(at(kDateFile));
    EXPECT_EQ(ReadDefinitionDate(fs, kFolder), "7/1/2008 9:30:00 PM");
    test::MemoryFileSystem noFolder;
    WriteDefinitionDate(noFolder, kFolder, "x");  // no data folder: nothing written, no crash
    EXPECT_FALSE(noFolder.exists(at(kDateFile)));
}

}  // namespace
}  // namespace vedozer
