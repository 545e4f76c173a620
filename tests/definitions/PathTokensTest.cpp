#include <gtest/gtest.h>

#include "definitions/PathTokens.h"
#include "support/FakeShellFolders.h"

namespace vedozer {
namespace {

using test::FakeShellFolders;

TEST(PathTokens, TableHasTheThirtyTokensInOrder) {
    const std::pair<const char*, int> expected[] = {
        {"[startsp]", 29}, {"[appdata]", 26}, {"[recycle]", 10}, {"[comstar]", 30}, {"[comapp]", 35},
        {"[desktop]", 25}, {"[comdocs]", 46}, {"[comfav]", 31},  {"[comprog]", 23}, {"[comstam]", 22},
        {"[comtemp]", 45}, {"[cookies]", 33}, {"[comdesk]", 16}, {"[favorit]", 6},  {"[fonts]", 20},
        {"[history]", 34}, {"[netcach]", 32}, {"[progs]", 2},    {"[progfil]", 38}, {"[comprogfil]", 43},
        {"[personl]", 5},  {"[recent]", 8},   {"[sendto]", 9},   {"[startup]", 7},  {"[strtmnu]", 11},
        {"[system]", 37},  {"[templat]", 21}, {"[windir]", 36},  {"[user]", 11},    {"[alluser]", 22},
    };
    ASSERT_EQ(kPathTokens.size(), 30u);
    for (size_t i = 0; i < 30; ++i) {
        EXPECT_STREQ(kPathTokens[i].token, expected[i].first);
        EXPECT_EQ(kPathTokens[i].folder, expected[i].second);
    }
}

TEST(PathTokens, EachTokenBecomesItsFolderWithABackslash) {
    FakeShellFolders shell;
    for (int csidl = 0; csidl < 64; ++csidl) shell.set(csidl, "F" + std::to_string(csidl));
    for (size_t i = 0; i < 28; ++i) {
        std::string t = kPathTokens[i].token;
        EXPECT_EQ(ExpandPathTokens("<" + t + "x>", shell),
                  "<F" + std::to_string(kPathTokens[i].folder) + "\\x>")
            << t;
    }
    // The pairing of the two desktops.
    EXPECT_EQ(ExpandPathTokens("[desktop]", shell), "F25\\");
    EXPECT_EQ(ExpandPathTokens("[comdesk]", shell), "F16\\");
}

TEST(PathTokens, FirstTwentyEightIgnoreCaseTheLastTwoDoNot) {
    auto shell = FakeShellFolders::windowsXp();
    EXPECT_EQ(ExpandPathTokens("[WINDIR]x", shell), "C:\\WINDOWS\\x");
    EXPECT_EQ(ExpandPathTokens("[AppData]Vendor", shell),
              "C:\\Documents and Settings\\Alice\\Application Data\\Vendor");
    EXPECT_EQ(ExpandPathTokens("[User]x", shell), "[User]x");
    EXPECT_EQ(ExpandPathTokens("[ALLUSER]x", shell), "[ALLUSER]x");
    EXPECT_EQ(ExpandPathTokens("[user]ntuser.dat", shell), "C:\\Documents and Settings\\Alice\\ntuser.dat");
    EXPECT_EQ(ExpandPathTokens("[alluser]Documents", shell),
              "C:\\Documents and Settings\\All Users\\Documents");
}

TEST(PathTokens, UserTokensDropEveryStartMenuIgnoringCase) {
    FakeShellFolders shell;
    shell.set(11, "D:\\Profiles\\bob\\START MENU").set(22, "D:\\Start Menu\\x\\start menu");
    EXPECT_EQ(ExpandPathTokens("[user]", shell), "D:\\Profiles\\bob\\");
    EXPECT_EQ(ExpandPathTokens("[alluser]", shell), "D:\\x\\");
    // "[strtmnu]" is the Start menu itself, replaced before "[user]".
    EXPECT_EQ(ExpandPathTokens("[strtmnu]|[user]", shell),
              "D:\\Profiles\\bob\\START MENU\\|D:\\Profiles\\bob\\");
}

TEST(PathTokens, MissingFolderGivesEmptyText) {
    auto shell = FakeShellFolders::windowsXp();
    EXPECT_EQ(ExpandPathTokens("[recycle]bad.exe", shell), "bad.exe");
    FakeShellFolders empty;
    empty.set(46, "");
    EXPECT_EQ(ExpandPathTokens("[comdocs]\\x", empty), "\\x");
}

TEST(PathTokens, TokenFollowedByBackslashDoublesIt) {
    auto shell = FakeShellFolders::windowsXp();
    EXPECT_EQ(ExpandPathTokens("[progfil]\\Vendor", shell), "C:\\Program Files\\\\Vendor");
}

TEST(PathTokens, TextWithoutBracketIsUnchangedAndAsksNothing) {
    FakeShellFolders shell = FakeShellFolders::windowsXp();
    EXPECT_EQ(ExpandPathTokens("C:\\WINDOWS\\system32\\x.dll", shell), "C:\\WINDOWS\\system32\\x.dll");
    EXPECT_EQ(ExpandPathTokens("", shell), "");
    EXPECT_EQ(shell.pathCalls(36), 0);
    EXPECT_EQ(ExpandPathTokens("[unknown]x", shell), "[unknown]x");
}

TEST(PathTokens, ComprogfilIsNotDisturbedByComprog) {
    auto shell = FakeShellFolders::windowsXp();
    EXPECT_EQ(
        ExpandPathTokens("[comprogfil]X|[comprog]Y", shell),
        "C:\\Program Files\\Common Files\\X|C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Y");
}

TEST(PathTokens, ReplacesEveryOccurrenceAndLooksFoldersUpEachCall) {
    auto shell = FakeShellFolders::windowsXp();
    EXPECT_EQ(ExpandPathTokens("[windir]a;[Windir]b", shell), "C:\\WINDOWS\\a;C:\\WINDOWS\\b");
    shell.set(36, "E:\\WINNT");
    EXPECT_EQ(ExpandPathTokens("[windir]a", shell), "E:\\WINNT\\a");
    EXPECT_EQ(shell.pathCalls(36), 2);
}

TEST(PathTokens, ReplacementTextIsNotScannedAgainForItsOwnToken) {
    FakeShellFolders shell;
    shell.set(36, "C:\\[windir]");
    EXPECT_EQ(ExpandPathTokens("[windir]", shell), "C:\\[windir]\\");
}

TEST(PathTokens, SpecialFolderPathAndLocation) {
    FakeShellFolders shell;
    shell.set(5, std::string("C:\\Docs\0garbage", 15)).set(6, "");
    shell.setLocation(2, "C:\\Progs").setLocation(3, "C:\\").setLocation(4, std::string("\0x", 2));
    EXPECT_EQ(SpecialFolderPath(shell, 5), "C:\\Docs\\");
    EXPECT_EQ(SpecialFolderPath(shell, 6), "");
    EXPECT_EQ(SpecialFolderPath(shell, 99), "");
    EXPECT_EQ(SpecialFolderLocation(shell, 2), "C:\\Progs\\");
    EXPECT_EQ(SpecialFolderLocation(shell, 3), "C:\\");
    EXPECT_EQ(SpecialFolderLocation(shell, 4), "");
}

TEST(PathTokens, SystemDriveRootIsTheFirstThreeCharactersOfThePrograms) {
    FakeShellFolders shell;
    shell.setLocation(2, "D:\\Documents and Settings\\x\\Start Menu\\Programs");
    EXPECT_EQ(SystemDriveRoot(shell), "D:\\");
    EXPECT_EQ(shell.locationCalls(2), 1);
    FakeShellFolders none;
    EXPECT_EQ(SystemDriveRoot(none), "");
    FakeShellFolders shortPath;
    shortPath.setLocation(2, "Z");
    EXPECT_EQ(SystemDriveRoot(shortPath), "Z\\");
}

TEST(PathTokens, LocationExpanderReplacesDriveWithExactCaseFirst) {
    auto shell = FakeShellFolders::windowsXp("C:");
    LocationExpander e = makeLocationExpander(shell);
    EXPECT_EQ(e.driveRoot, "C:\\");
    EXPECT_EQ(e.expand("[drive]WINDOWS\\\\system32"), "C:\\WINDOWS\\\\system32");
    EXPECT_EQ(e.expand("[DRIVE]x"), "[DRIVE]x");
    EXPECT_EQ(e.expand("[drive]x", false), "[drive]x");
    EXPECT_EQ(e.expand("[drive][windir]"), "C:\\C:\\WINDOWS\\");
}

TEST(PathTokens, DriveRootsAreKnownHoweverTheyAreWritten) {
    for (const char* root :
         {"C:", "C:\\", "c:\\.", "C:\\.\\", "D:\\", "C:/", "C:\\Windows\\..", "C:\\Windows\\..\\..",
          "C:\\a\\b\\..\\..\\", "C:\\...", "C:\\. ", "C:\\x\\.. ", "\\\\?\\C:\\", "\\\\.\\z:"})
        EXPECT_TRUE(NamesDriveRoot(root)) << root;
    for (const char* folder : {"C:\\Windows", "C:\\Windows\\..\\Temp", "C:\\..\\x", "C:\\.x",
                               "\\\\server\\share", "Windows", "", "1:\\", "C", "\\"})
        EXPECT_FALSE(NamesDriveRoot(folder)) << folder;
}

}  // namespace
}  // namespace vedozer
