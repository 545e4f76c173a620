#include <gtest/gtest.h>

#include "definitions/DefinitionFiles.h"
#include "definitions/ExclusionList.h"
#include "definitions/LineCodec.h"
#include "definitions/SafeList.h"
#include "platform/image/ImageFileSystem.h"
#include "support/FakeShellFolders.h"
#include "support/TempDir.h"

// The definition-file operations on real files through the data folder's host file system.
namespace vedozer {
namespace {

class OnHost : public ::testing::Test {
protected:
    test::TempDir dir;
    HostFileSystem fs;
    std::string folder = dir.str() + "\\RozaVedozerEZO";  // joined the way the engine joins
    std::filesystem::path host(const std::string& name) const { return dir.path() / "RozaVedozerEZO" / name; }
};

TEST_F(OnHost, InstallCountCheckAndStagedReplace) {
    ASSERT_TRUE(installShippedDefinitions(fs, folder));
    EXPECT_TRUE(CheckDefinitionFiles(fs, folder));
    DefinitionSet set{folder};
    int32_t total = CountDefinitions(fs, set);
    int32_t shippedCookies = set.cookieCount;
    EXPECT_GE(total, 200);

    dir.write("RozaVedozerEZO/DLBlockedCookies.dat",
              EncodeDefinitionLine("one.example") + "\r\n" + EncodeDefinitionLine("two.example"));
    InstallStagedDefinitions(fs, folder);
    EXPECT_FALSE(std::filesystem::exists(host("DLBlockedCookies.dat")));
    EXPECT_EQ(test::readHostFile(host("BlockedCookies.dat")),
              EncodeDefinitionLine("one.example") + "\r\n" + EncodeDefinitionLine("two.example"));
    EXPECT_EQ(CountDefinitions(fs, set), total - shippedCookies + 2);  // last line without CR LF counts
    EXPECT_EQ(set.cookieCount, 2);

    std::filesystem::remove(host("ExeDefinition.dat"));
    EXPECT_FALSE(CheckDefinitionFiles(fs, folder));
    EXPECT_FALSE(std::filesystem::exists(host("FileDefinition.dat")));
    EXPECT_TRUE(std::filesystem::exists(host("Safety.dat")));
}

TEST_F(OnHost, DateExclusionsAndSafeList) {
    ASSERT_TRUE(installShippedDefinitions(fs, folder));
    EXPECT_EQ(ReadDefinitionDate(fs, folder), kDefaultDefinitionDate);
    WriteDefinitionDate(fs, folder, "5/4/2008 10:00:00 AM");
    EXPECT_EQ(test::readHostFile(host("date.dat")), "5/4/2008 10:00:00 AM\r\n");
    EXPECT_EQ(ReadDefinitionDate(fs, folder), "5/4/2008 10:00:00 AM");

    ExclusionList exclusions;
    AddExclusion(exclusions, fs, folder, " C:\\Program Files\\AdBuddy\\adbuddy.exe ");
    EXPECT_EQ(test::readHostFile(host("ENoSignature.dat")), "C:\\Program Files\\AdBuddy\\adbuddy.exe\r\n");
    EXPECT_TRUE(exclusions.IsExcludedFolder("c:\\program files\\adbuddy"));

    auto shell = test::FakeShellFolders::windowsXp();
    SafeList safe;
    LoadSafeList(safe, fs, folder, makeLocationExpander(shell));
    EXPECT_TRUE(safe.IsSafe("C:\\WINDOWS\\system32\\kernel32.dll"));
    EXPECT_FALSE(safe.IsSafe("C:\\Program Files\\AdBuddy\\adbuddy.exe"));
}

TEST_F(OnHost, FileExistsOnRealFiles) {
    dir.write("Folder/Real.TXT", "x");
    std::string base = dir.str();
    EXPECT_TRUE(FileExists(fs, base + "\\Folder\\Real.TXT"));
    EXPECT_FALSE(FileExists(fs, base + "\\Folder"));
    EXPECT_FALSE(FileExists(fs, base + "\\Folder\\missing.txt"));
}

}  // namespace
}  // namespace vedozer
