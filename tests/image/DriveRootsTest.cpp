#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "platform/image/DriveRoots.h"
#include "platform/image/ImageInstallations.h"
#include "support/HiveBuilder.h"
#include "support/TempDir.h"

namespace vedozer {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

TEST(MountInfo, FieldsEscapesOptionalTagsAndReadOnlyFromEitherOptionList) {
    const char* text =
        "22 1 0:21 / /proc rw,nosuid shared:12 - proc proc rw\n"
        "36 35 98:0 /mnt1 /mnt/Windows\\040Disk rw,noatime master:1 shared:7 - ntfs3 /dev/sdb2 rw,iocharset=utf8\n"
        "37 35 8:3 / /media/old ro,relatime - fuseblk /dev/sdc1 rw,user_id=0\n"
        "38 35 8:4 / /media/ro2 rw - ext4 /dev/sdd1 ro,errors=continue\n"
        "garbage line\n"
        "39 35 8:5 / /x rw shared:1\n";
    std::vector<MountEntry> m = parseMountInfo(text);
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].fileSystem, "proc");
    EXPECT_EQ(m[1].mountPoint, "/mnt/Windows Disk");
    EXPECT_EQ(m[1].fileSystem, "ntfs3");
    EXPECT_EQ(m[1].source, "/dev/sdb2");
    EXPECT_FALSE(m[1].readOnly);
    EXPECT_TRUE(m[2].readOnly) << "read-only by the mount's options";
    EXPECT_TRUE(m[3].readOnly) << "read-only by the file system's options";
}

// A Windows system drive: a Windows folder (any case) whose System32\config holds a hive.
std::string plantSystemDrive(const TempDir& dir, const std::string& at, const char* windows = "Windows") {
    dir.write(at + "/" + windows + "/System32/config/SOFTWARE", "regf");
    return (dir.path() / at).string();
}

TEST(DriveRoots, MountsThatHoldWindowsWithItsHivesAreListedOthersAndKernelFileSystemsAreNot) {
    TempDir dir;
    std::string win = plantSystemDrive(dir, "disk1", "WINDOWS");
    dir.write("disk2/Windows/notes.txt", "a Windows folder without hives");
    dir.write("disk3/data.txt", "x");
    std::string text = "1 0 8:1 / " + win + " rw - ntfs3 /dev/sdb2 rw\n" +
                       "2 0 8:2 / " + (dir.path() / "disk2").string() + " rw - ext4 /dev/sdb3 rw\n" +
                       "3 0 8:3 / " + (dir.path() / "disk3").string() + " rw - vfat /dev/sdb4 rw\n" +
                       "4 0 0:5 / " + win + " rw - proc proc rw\n";
    auto found = systemDriveMounts(parseMountInfo(text));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].mountPoint, win);
    EXPECT_EQ(found[0].source, "/dev/sdb2");

    dir.write("mountinfo", text);
    ImageInstallations installations((dir.path() / "mountinfo").string());
    auto mounted = installations.mounted();
    ASSERT_EQ(mounted.size(), 1u);
    EXPECT_EQ(mounted[0].fileSystem, "ntfs3");
    EXPECT_TRUE(ImageInstallations("/nonexistent/mountinfo").mounted().empty());
}

TEST(DriveRoots, TheNearestDriveRootIsFoundAboveInsideOrBelowTheGivenFolder) {
    TempDir dir;
    std::string c = plantSystemDrive(dir, "image/C");
    fs::create_directories(dir.path() / "empty");
    EXPECT_EQ(nearestDriveRoot(c), c);
    EXPECT_EQ(nearestDriveRoot(c + "/Windows/System32"), c) << "inside the installation";
    EXPECT_EQ(nearestDriveRoot((dir.path() / "image").string()), c) << "the folder it was copied to";
    EXPECT_EQ(nearestDriveRoot((dir.path() / "empty").string()), "") << "a sibling is no drive root of it";
    EXPECT_EQ(driveRootAdvice(c), "") << "the right folder needs no help";
    EXPECT_NE(driveRootAdvice(c + "/Windows").find("looks like one is " + c), std::string::npos);
}

TEST(DriveRoots, ACheckOpensTheImageAsTheScannerDoesAndSaysWhatStandsInTheWay) {
    TempDir dir;
    std::string c = (dir.path() / "C").string();
    fs::create_directories(c + "/Windows/System32/config");
    fs::create_directories(c + "/Users/alice");
    fs::create_directories(c + "/Users/bob");
    test::buildHive(c + "/Windows/System32/config/SOFTWARE", {test::hiveKey("Microsoft")});
    ImageInstallations installations;
    EXPECT_EQ(installations.profiles(c), (std::vector<std::string>{"alice", "bob"}));
    EXPECT_TRUE(installations.profiles(c + "/Windows").empty());

    InstallationCheck ambiguous = installations.check({c, {}, ""});
    EXPECT_NE(ambiguous.error.find("several user profiles"), std::string::npos) << ambiguous.error;
    InstallationCheck ok = installations.check({c, {}, "bob"});
    EXPECT_TRUE(ok.ok()) << ok.error;
    InstallationCheck inside = installations.check({c + "/Windows", {}, "bob"});
    EXPECT_FALSE(inside.ok());
    EXPECT_EQ(inside.suggestedDrive, c);
    InstallationCheck badDrive = installations.check({c, {{'D', (dir.path() / "nowhere").string()}}, "bob"});
    EXPECT_NE(badDrive.error.find("drive D:"), std::string::npos) << badDrive.error;
    EXPECT_EQ(ok.writeProblem, "");
}

TEST(DriveRoots, AnInstallationThisUserCannotWriteIsOpenedWithTheReasonRemovalWouldFail) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write anywhere";
    TempDir dir;
    std::string c = (dir.path() / "C").string();
    fs::create_directories(c + "/Windows/System32/config");
    fs::create_directories(c + "/Users/alice");
    test::buildHive(c + "/Windows/System32/config/SOFTWARE", {test::hiveKey("Microsoft")});
    ImageInstallations installations;
    fs::permissions(c + "/Windows/System32/config", fs::perms::owner_write, fs::perm_options::remove);
    InstallationCheck readOnly = installations.check({c, {}, "alice"});
    fs::permissions(c + "/Windows/System32/config", fs::perms::owner_write, fs::perm_options::add);
    EXPECT_TRUE(readOnly.ok());
    EXPECT_NE(readOnly.writeProblem.find("may not write to " + c + "/Windows/System32/config"), std::string::npos)
        << readOnly.writeProblem;
}

}  // namespace
}  // namespace vedozer
