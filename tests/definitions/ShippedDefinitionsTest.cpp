#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "definitions/DefinitionFiles.h"
#include "definitions/DefinitionRecords.h"
#include "definitions/LineCodec.h"
#include "definitions/SafeList.h"
#include "definitions/ShippedDefinitions.h"
#include "support/FakeShellFolders.h"
#include "support/MemoryFileSystem.h"
#include "text/Text.h"

namespace vedozer {
namespace {

struct Source {
    std::vector<std::string> lines;  // definition lines (comments dropped)
    std::vector<std::string> demo;   // the "# demo: " lines
};

Source readSource(const std::string& name) {
    std::ifstream in(std::string(VEDOZER_SOURCE_DIR) + "/data/definitions/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    Source s;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (text::istartsWith(line, "# demo: ")) s.demo.push_back(line.substr(8));
        if (!line.empty() && line[0] == '#') continue;
        s.lines.push_back(line);
    }
    return s;
}

std::map<std::string, std::vector<std::string>> embeddedDecoded() {
    std::map<std::string, std::vector<std::string>> files;
    for (size_t i = 0; i < kShippedDefinitionCount; ++i) {
        auto& lines = files[kShippedDefinitions[i].name];
        for (const auto& l : splitLines(kShippedDefinitions[i].content()))
            lines.push_back(DecodeDefinitionLine(l));
    }
    return files;
}

class Shipped : public ::testing::Test {
protected:
    test::FakeShellFolders shell = test::FakeShellFolders::windowsXp("C:");
    LocationExpander ex = makeLocationExpander(shell);
    std::map<std::string, std::vector<std::string>> files = embeddedDecoded();
};

TEST_F(Shipped, EmbedsTheSixEncodedFilesFromTheSources) {
    std::set<std::string> names;
    for (const auto& [name, lines] : files) names.insert(name);
    EXPECT_EQ(names,
              (std::set<std::string>{"BlockedCookies.dat", "DirectoryDefinition.dat", "ExeDefinition.dat",
                                     "FileDefinition.dat", "RegistryDefinition.dat", "Safety.dat"}));
    for (const auto& [name, lines] : files) {
        std::string source = name.substr(0, name.size() - 4) + ".txt";
        EXPECT_EQ(lines, readSource(source).lines) << name;
        for (const auto& l : lines) EXPECT_FALSE(text::trim(l).empty()) << name << ": blank line";
    }
    for (size_t i = 0; i < kShippedDefinitionCount; ++i) {
        auto content = kShippedDefinitions[i].content();
        ASSERT_GE(content.size(), 2u);
        EXPECT_EQ(content.substr(content.size() - 2), "\r\n");
        EXPECT_EQ(content.find("AdBuddy"), std::string_view::npos) << "stored in plain text";
    }
}

TEST_F(Shipped, HoldsAtLeastTwoHundredDefinitions) {
    size_t total = 0;
    for (const char* n : {"BlockedCookies.dat", "DirectoryDefinition.dat", "ExeDefinition.dat",
                          "FileDefinition.dat", "RegistryDefinition.dat"}) {
        EXPECT_GE(files[n].size(), 20u) << n;
        total += files[n].size();
    }
    EXPECT_GE(total, 200u);
    EXPECT_GE(files["Safety.dat"].size(), 20u);
}

TEST_F(Shipped, EveryLineFollowsItsLayout) {
    for (const auto& l : files["RegistryDefinition.dat"]) {
        auto d = parseRegistryDefinition(l, ex);
        ASSERT_TRUE(d) << l;
        EXPECT_FALSE(text::trim(d->spywareName).empty()) << l;
        EXPECT_FALSE(d->type.empty()) << l;
        EXPECT_EQ(d->valueName.find('['), std::string::npos) << l;
    }
    for (const auto& l : files["FileDefinition.dat"]) {
        auto d = parseFileDefinition(l, ex);
        EXPECT_FALSE(d.spywareName.empty()) << l;
        EXPECT_TRUE(text::istartsWith(d.path, "C:\\")) << l;
        EXPECT_EQ(d.path.find('['), std::string::npos) << l;
        EXPECT_EQ(d.path.find("\\\\"), std::string::npos) << l;
    }
    for (const auto& l : files["DirectoryDefinition.dat"]) {
        auto d = parseDirectoryDefinition(l, ex);
        ASSERT_TRUE(d) << l;
        EXPECT_TRUE(text::istartsWith(d->path, "C:\\")) << l;
        EXPECT_EQ(d->path.find('['), std::string::npos) << l;
    }
    for (const auto& l : files["ExeDefinition.dat"]) {
        auto d = parseExeDefinition(l, ex);
        ASSERT_TRUE(d) << l;
        EXPECT_TRUE(text::istartsWith(d->path, "C:\\")) << l;
        EXPECT_EQ(d->path.find('['), std::string::npos) << l;
    }
    for (const auto& l : files["BlockedCookies.dat"]) {
        EXPECT_NE(l.find('.'), std::string::npos) << l;
        EXPECT_FALSE(text::istartsWith(l, "www.")) << l;
        EXPECT_EQ(l, text::trim(l));
    }
}

TEST_F(Shipped, DemoEntriesComeFirstInEachFile) {
    for (const char* n :
         {"BlockedCookies", "DirectoryDefinition", "ExeDefinition", "FileDefinition", "RegistryDefinition"}) {
        Source s = readSource(std::string(n) + ".txt");
        EXPECT_GE(s.demo.size(), 5u) << n;
        EXPECT_LE(s.demo.size(), 10u) << n;
        ASSERT_GE(s.lines.size(), s.demo.size());
        for (size_t i = 0; i < s.demo.size(); ++i) EXPECT_EQ(s.lines[i], s.demo[i]) << n;
    }
}

TEST_F(Shipped, InstallsIntoAFreshDataFolder) {
    test::MemoryFileSystem fs;
    fs.addFolder("C:\\Documents and Settings\\Alice\\Application Data");
    std::string folder = defaultDataFolder(shell);
    ASSERT_TRUE(installShippedDefinitions(fs, folder));
    EXPECT_TRUE(CheckDefinitionFiles(fs, folder));
    DefinitionSet set{folder};
    size_t expected = 0;
    for (const char* n : {"BlockedCookies.dat", "DirectoryDefinition.dat", "ExeDefinition.dat",
                          "FileDefinition.dat", "RegistryDefinition.dat"})
        expected += files[n].size();
    EXPECT_EQ(CountDefinitions(fs, set), static_cast<int32_t>(expected));
    EXPECT_EQ(set.cookieCount, static_cast<int32_t>(files["BlockedCookies.dat"].size()));
    EXPECT_EQ(ReadDefinitionDate(fs, folder), kDefaultDefinitionDate);

    test::MemoryFileSystem noParent;
    EXPECT_FALSE(installShippedDefinitions(noParent, folder));
}

TEST_F(Shipped, SafeListHoldsSystemFilesButNoDemoThreat) {
    test::MemoryFileSystem fs;
    fs.addFolder("D:\\Data");
    ASSERT_TRUE(installShippedDefinitions(fs, "D:\\Data"));
    SafeList safe;
    LoadSafeList(safe, fs, "D:\\Data", ex);
    EXPECT_TRUE(safe.IsSafe("C:\\WINDOWS\\system32\\kernel32.dll"));
    EXPECT_TRUE(safe.IsSafe("c:\\windows\\explorer.exe"));
    EXPECT_TRUE(safe.IsSafe("C:\\Program Files\\"));
    EXPECT_TRUE(safe.IsSafe("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"));
    EXPECT_FALSE(safe.IsSafe("C:\\WINDOWS\\system32\\drivers\\etc"));

    for (const auto& l : readSource("FileDefinition.txt").demo) {
        auto d = parseFileDefinition(l, ex);
        EXPECT_EQ(safe.IsSafe(d.path), d.item == "userinit.exe") << l;
    }
    for (const auto& l : readSource("DirectoryDefinition.txt").demo)
        EXPECT_FALSE(safe.IsSafe(parseDirectoryDefinition(l, ex)->path)) << l;
    for (const auto& l : readSource("RegistryDefinition.txt").demo)
        EXPECT_FALSE(safe.IsSafe(parseRegistryDefinition(l, ex)->displayPath())) << l;
}

}  // namespace
}  // namespace vedozer
