#include "platform/image/ImageFileSystem.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/image/PosixFiles.h"
#include "support/TempDir.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;

struct ImageFs : ::testing::Test {
    test::TempDir dir;
    test::TempDir outside;
    std::unique_ptr<ImageFileSystem> files;
    void SetUp() override {
        dir.write("C/Windows/System32/kernel32.dll", "MZ");
        dir.write("C/Program Files/AdBuddy/adbuddy.exe", "payload");
        dir.write("D/Data/readme.txt", "d");
        outside.write("secret.txt", "host secret");
        files = std::make_unique<ImageFileSystem>(
            std::map<char, std::string>{{'C', dir.str() + "/C"}, {'d', dir.str() + "/D"}});
    }
};

TEST_F(ImageFs, ResolvesWindowsPathsIgnoringCaseAndSeparators) {
    auto info = files->lookup("c:\\PROGRAM FILES\\adbuddy\\AdBuddy.EXE");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->name, "adbuddy.exe");
    EXPECT_EQ(info->size, 7u);
    EXPECT_FALSE(info->isDirectory());
    EXPECT_TRUE(files->lookup("C:/Windows/system32/KERNEL32.dll"));
    EXPECT_TRUE(files->lookup("D:\\data\\README.TXT"));
    EXPECT_TRUE(files->folderExists("C:\\Program Files\\\\AdBuddy\\"));
    EXPECT_FALSE(files->folderExists("C:\\Program Files\\AdBuddy\\adbuddy.exe"));
    EXPECT_FALSE(files->lookup("E:\\anything"));
    EXPECT_EQ(*files->readAll("c:\\program files\\adbuddy\\adbuddy.exe", SIZE_MAX), "payload");
}

TEST_F(ImageFs, NeverLeavesTheDriveRoot) {
    std::string rel = "C:\\..\\..\\" + fs::relative(outside.path(), dir.path() / "C").string();
    EXPECT_FALSE(files->lookup("C:\\Windows\\..\\..\\D\\Data\\readme.txt"));
    EXPECT_FALSE(files->readAll(rel + "\\secret.txt", SIZE_MAX));
    EXPECT_FALSE(files->lookup(outside.str() + "/secret.txt"));   // host-absolute
    EXPECT_FALSE(files->lookup("\\\\server\\share\\x"));         // no drive letter
    EXPECT_FALSE(files->lookup("Windows\\System32"));            // relative

    // A symbolic link out of the image is not followed, one inside it is.
    fs::create_symlink(outside.path(), dir.path() / "C/escape");
    fs::create_symlink(dir.path() / "C/Program Files", dir.path() / "C/progs");
    EXPECT_FALSE(files->lookup("C:\\escape\\secret.txt"));
    EXPECT_FALSE(files->deleteFile("C:\\escape\\secret.txt"));
    EXPECT_FALSE(files->openWrite("C:\\escape\\new.txt", false));
    EXPECT_TRUE(files->lookup("C:\\progs\\AdBuddy\\adbuddy.exe"));
    for (const auto& e : files->list("C:\\")) EXPECT_NE(e.name, "escape");
    EXPECT_EQ(test::readHostFile(outside.path() / "secret.txt"), "host secret");
    EXPECT_FALSE(fs::exists(outside.path() / "new.txt"));
}

TEST_F(ImageFs, HiddenAndSystemAttributesComeFromTheMount) {
    auto host = dir.path() / "C/Program Files/AdBuddy/adbuddy.exe";
    ASSERT_TRUE(posix::setDosAttributes(host.string(), kAttrHidden | kAttrSystem));
    auto info = files->lookup("C:\\Program Files\\AdBuddy\\adbuddy.exe");
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->isHidden());
    EXPECT_TRUE(info->isSystem());
    // ntfs-3g's big-endian form is read too (only settable on ntfs-3g mounts, so checked via Samba form above).
    auto plain = files->lookup("C:\\Windows\\System32\\kernel32.dll");
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->isHidden());
}

TEST_F(ImageFs, WritesCopiesAndDeletesInsideTheImage) {
    auto out = files->openWrite("C:\\program files\\adbuddy\\NEW.txt", true);
    ASSERT_TRUE(out);
    out->write(std::string("abc"));
    EXPECT_FALSE(fs::exists(dir.path() / "C/Program Files/AdBuddy/NEW.txt"));  // not before close
    ASSERT_TRUE(out->close());
    EXPECT_EQ(test::readHostFile(dir.path() / "C/Program Files/AdBuddy/NEW.txt"), "abc");
    EXPECT_TRUE(files->lookup("C:\\Program Files\\AdBuddy\\new.TXT"));

    EXPECT_TRUE(files->copyFile("C:\\Program Files\\AdBuddy\\adbuddy.exe", "D:\\Data\\copy.exe", false));
    EXPECT_FALSE(files->copyFile("C:\\Program Files\\AdBuddy\\adbuddy.exe", "D:\\Data\\copy.exe", false));
    EXPECT_TRUE(files->renameFile("D:\\Data\\copy.exe", "D:\\Data\\moved.exe"));
    EXPECT_TRUE(files->lookup("D:\\data\\MOVED.exe"));
    EXPECT_FALSE(files->lookup("D:\\data\\copy.exe"));
    EXPECT_TRUE(files->copyFolder("C:\\Program Files\\AdBuddy", "D:\\Backup"));
    EXPECT_EQ(test::readHostFile(dir.path() / "D/Backup/adbuddy.exe"), "payload");
    EXPECT_TRUE(files->deleteFolder("C:\\PROGRAM FILES\\ADBUDDY"));
    EXPECT_FALSE(fs::exists(dir.path() / "C/Program Files/AdBuddy"));
    EXPECT_FALSE(files->deleteFolder("C:\\"));
    EXPECT_TRUE(fs::exists(dir.path() / "C/Windows"));
    EXPECT_EQ(files->drives().size(), 2u);
    EXPECT_EQ(files->toWindows((dir.path() / "C/Windows/System32").string()), "C:\\Windows\\System32");
}

TEST_F(ImageFs, NonAsciiNamesAreCodePageOnTheEngineSide) {
    dir.write("C/Users/J\xC3\xBCrgen/ntuser.dat", "x");  // UTF-8 on the host
    auto entries = files->list("C:\\Users");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "J\xFCrgen");  // Windows-1252 in the engine
    EXPECT_TRUE(files->lookup("C:\\Users\\J\xFCrgen\\NTUSER.DAT"));
}

TEST(HostFs, BackslashesJoinDataFolderNames) {
    test::TempDir dir;
    HostFileSystem host;
    ASSERT_TRUE(host.append(dir.str() + "\\ENoSignature.dat", "a\r\n"));
    ASSERT_TRUE(host.append(dir.str() + "\\ENoSignature.dat", "b\r\n"));
    EXPECT_EQ(test::readHostFile(dir.path() / "ENoSignature.dat"), "a\r\nb\r\n");
    EXPECT_TRUE(host.createFolder(dir.str() + "\\quarantine\\sub"));
    EXPECT_TRUE(host.folderExists(dir.str() + "\\quarantine"));
}

}  // namespace
}  // namespace vedozer
