#include <gtest/gtest.h>

#include <random>

#include "definitions/LineCodec.h"
#include "definitions/SafeList.h"
#include "support/FakeShellFolders.h"
#include "support/ListReference.h"
#include "support/MemoryFileSystem.h"

namespace vedozer {
namespace {

const std::string kFolder = "D:\\Data";

std::string encodedFile(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += EncodeDefinitionLine(l) + "\r\n";
    return out;
}

TEST(SafeListTest, ElementsEndWithOneEmptyElement) {
    EXPECT_TRUE(SafeList().elements().empty());
    EXPECT_TRUE(SafeList(std::vector<std::string>{}).elements().empty());
    EXPECT_EQ(SafeList({"a", "b"}).elements(), (std::vector<std::string>{"a", "b", ""}));
    EXPECT_EQ(SafeList({"a\r\nb"}).elements(), (std::vector<std::string>{"a", "b", ""}));
    EXPECT_EQ(SafeList({""}).elements(), (std::vector<std::string>{"", ""}));
}

TEST(SafeListTest, EmptyOrBlankItemIsAlwaysSafe) {
    EXPECT_TRUE(SafeList().IsSafe(""));
    EXPECT_TRUE(SafeList().IsSafe("   "));
    EXPECT_TRUE(SafeList().IsSafe(" / "));
    EXPECT_TRUE(SafeList().IsSafe("\\/"));
    EXPECT_FALSE(SafeList().IsSafe("//"));
    EXPECT_FALSE(SafeList().IsSafe("C:\\x"));
}

TEST(SafeListTest, ExactApartFromCaseBlanksAndOneTrailingSeparator) {
    SafeList list(
        {"C:\\WINDOWS\\system32\\kernel32.dll", "C:\\Program Files\\Vendor\\", "http://host/path/"});
    EXPECT_TRUE(list.IsSafe("c:\\windows\\SYSTEM32\\kernel32.DLL"));
    EXPECT_TRUE(list.IsSafe("  C:\\WINDOWS\\system32\\kernel32.dll  "));
    EXPECT_TRUE(list.IsSafe("C:\\WINDOWS\\system32\\kernel32.dll\\"));
    EXPECT_TRUE(list.IsSafe("C:\\Program Files\\Vendor"));
    EXPECT_TRUE(list.IsSafe("C:\\Program Files\\Vendor\\"));
    EXPECT_TRUE(list.IsSafe("http://host/path"));
    EXPECT_FALSE(list.IsSafe("C:\\Program Files\\Vendor\\app.exe"));  // inside a safe folder: not safe
    EXPECT_FALSE(list.IsSafe("C:\\Program Files"));
    EXPECT_FALSE(list.IsSafe("kernel32.dll"));
}

TEST(SafeListTest, OneExtraBackslashOnEitherSide) {
    SafeList list({"C:\\a\\\\", "C:\\b"});
    EXPECT_TRUE(list.IsSafe("C:\\a"));      // e = "c:\a\" equals s + "\"
    EXPECT_TRUE(list.IsSafe("C:\\b\\\\"));  // s = "c:\b\" equals e + "\"
    EXPECT_FALSE(list.IsSafe("C:\\b\\\\\\"));
}

TEST(SafeListTest, BareHiveNamesNeedANonEmptyElement) {
    EXPECT_FALSE(SafeList().IsSafe("HKEY_CURRENT_USER\\"));
    EXPECT_FALSE(SafeList({"", "  ", "\\"}).IsSafe("HKEY_CURRENT_USER\\"));
    SafeList list({"C:\\x"});
    for (const char* hive : {"HKEY_CLASSES_ROOT", "hkey_current_user\\", "HKEY_LOCAL_MACHINE", "HKEY_USERS\\",
                             "HKEY_CURRENT_CONFIG", "HKEY_USERS\\\\"})
        EXPECT_TRUE(list.IsSafe(hive)) << hive;
    EXPECT_FALSE(list.IsSafe("HKEY_DYN_DATA"));
    EXPECT_FALSE(list.IsSafe("HKEY_USERS\\\\\\"));
    EXPECT_FALSE(list.IsSafe("HKEY_LOCAL_MACHINE\\Software"));
}

TEST(SafeListTest, AgreesWithTheLiteralTestOnRandomLists) {
    std::mt19937 rng(5);
    const std::vector<std::string> words = {"a", "B", " ", "\\", "/", "hkey_users", "HKEY_CURRENT_USER", "x"};
    auto randomText = [&](int maxWords) {
        std::string s;
        for (int i = rng() % (maxWords + 1); i > 0; --i) s += words[rng() % words.size()];
        return s;
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> entries;
        for (int i = rng() % 5; i > 0; --i) entries.push_back(randomText(4));
        SafeList list(entries);
        for (int q = 0; q < 40; ++q) {
            std::string item = randomText(4);
            ASSERT_EQ(list.IsSafe(item), test::referenceIsSafe(list.elements(), item))
                << "item [" << item << "]";
        }
    }
}

class SafeListLoad : public ::testing::Test {
protected:
    void SetUp() override { fs.addFolder(kFolder); }
    test::MemoryFileSystem fs;
    test::FakeShellFolders shell = test::FakeShellFolders::windowsXp();
    LocationExpander ex = makeLocationExpander(shell);
};

TEST_F(SafeListLoad, MissingFileGivesAnEmptyList) {
    SafeList list({"stale"});
    EXPECT_TRUE(LoadSafeList(list, fs, kFolder, ex));
    EXPECT_TRUE(list.elements().empty());
    EXPECT_FALSE(list.IsSafe("HKEY_LOCAL_MACHINE"));
}

TEST_F(SafeListLoad, DecodesAndProducesEntriesInFileOrder) {
    fs.addFile(kFolder + "\\Safety.dat",
               encodedFile({
                   "user32.dll",  // no type yet: nothing
                   "SFILE|kernel32.dll|[system]\\kernel32.dll",
                   "explorer.exe=Shell",  // takes SFILE: name-only entry
                   "SREG|Run key|2^Software\\Microsoft\\Windows\\CurrentVersion\\Run^",
                   "sdir|lower case|[windir]",
                   "SDIR|Fonts|[fonts]",
                   "SEXE|notepad.exe|[windir]\\notepad.exe|unused",
               }));
    SafeList list;
    LoadSafeList(list, fs, kFolder, ex);
    EXPECT_EQ(list.elements(), (std::vector<std::string>{
                                   "C:\\WINDOWS\\system32\\kernel32.dll",
                                   "explorer.exe",
                                   "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\",
                                   "C:\\WINDOWS\\Fonts\\",
                                   "C:\\WINDOWS\\notepad.exe",
                                   "",
                               }));
    EXPECT_TRUE(list.IsSafe("C:\\WINDOWS\\system32\\KERNEL32.dll"));
    EXPECT_TRUE(list.IsSafe("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"));
    EXPECT_TRUE(list.IsSafe("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\"));
    EXPECT_FALSE(list.IsSafe("C:\\WINDOWS"));
    EXPECT_FALSE(list.IsSafe("C:\\WINDOWS\\system32\\user32.dll"));
}

TEST_F(SafeListLoad, StopFlagEndsReadingEarly) {
    fs.addFile(kFolder + "\\Safety.dat", encodedFile({"SFILE|a|C:\\a", "SFILE|b|C:\\b", "SFILE|c|C:\\c"}));
    int asked = 0;
    SafeList list;
    EXPECT_TRUE(LoadSafeList(list, fs, kFolder, ex, [&] { return ++asked > 2; }));
    EXPECT_EQ(list.elements(), (std::vector<std::string>{"C:\\a", "C:\\b", ""}));
    EXPECT_TRUE(LoadSafeList(list, fs, kFolder, ex, [] { return true; }));
    EXPECT_TRUE(list.elements().empty());
}

TEST_F(SafeListLoad, GarbageProducesNoEntriesAndNoCrash) {
    std::mt19937 rng(9);
    std::string garbage(100000, '\0');
    for (char& c : garbage) c = static_cast<char>(rng());
    garbage += std::string(200000, 'Z');  // one over-long line at the end
    fs.addFile(kFolder + "\\Safety.dat", garbage);
    SafeList list;
    EXPECT_TRUE(LoadSafeList(list, fs, kFolder, ex));
    EXPECT_FALSE(list.IsSafe("C:\\WINDOWS\\system32\\kernel32.dll"));
}

}  // namespace
}  // namespace vedozer
