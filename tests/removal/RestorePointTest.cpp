#include <gtest/gtest.h>

#include <filesystem>

#include "platform/image/ImageSystemRestore.h"
#include "removal/RemovalImage.h"
#include "removal/RestorePoint.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;
using test::RemovalImage;

OsVersion version(PlatformFamily family, int major, int minor) {
    OsVersion v;
    v.family = family;
    v.major = major;
    v.minor = minor;
    return v;
}

TEST(RestorePointRule, OfferedOnMeXpAndLaterNtOnly) {
    EXPECT_TRUE(systemRestoreOffered(version(PlatformFamily::Windows9x, 4, 90)));
    EXPECT_FALSE(systemRestoreOffered(version(PlatformFamily::Windows9x, 4, 10)));
    EXPECT_FALSE(systemRestoreOffered(version(PlatformFamily::WindowsNT, 5, 0)));
    EXPECT_TRUE(systemRestoreOffered(version(PlatformFamily::WindowsNT, 5, 1)));
    EXPECT_FALSE(systemRestoreOffered(version(PlatformFamily::WindowsNT, 5, 2)));
    EXPECT_TRUE(systemRestoreOffered(version(PlatformFamily::WindowsNT, 6, 0)));
    EXPECT_FALSE(systemRestoreOffered(version(PlatformFamily::WindowsNT, 4, 0)));
    EXPECT_FALSE(systemRestoreOffered(version(PlatformFamily::Win32s, 6, 1)));
}

TEST(ImageRestorePoint, EveryHiveIsCopiedOnceBeforeItsFirstChange) {
    RemovalImage img({test::hiveSz("Ad", "Run", "x")}, {test::hiveKey("Software\\Ad")});
    std::string quarantine = img.dataFolder + "/quarantine";
    ImageSystemRestore sr(*img.registry, quarantine, img.clock);
    RestorePoints points(&sr);
    ASSERT_TRUE(points.IsSystemRestoreAvailable());
    std::string softwareBefore = test::readHostFile(img.softwareHive);
    std::string ntuserBefore = test::readHostFile(img.ntuserHive);

    ASSERT_TRUE(points.BeginRestorePoint("Vedozer Restore Point 12/8/2026 3:04:05 PM"));
    EXPECT_NE(points.RestorePointSequence(), 0);
    EXPECT_THROW(points.BeginRestorePoint("again"), RestorePointError);
    std::string folder = sr.openFolder();
    // Reading copies nothing.
    img.registry->queryValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "Run");
    EXPECT_FALSE(fs::exists(folder + "/SOFTWARE"));
    ASSERT_EQ(img.registry->deleteValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "Run"), RegStatus::Ok);
    ASSERT_EQ(img.registry->setValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "Other", {kRegDword, "1234"}),
              RegStatus::Ok);
    ASSERT_EQ(img.registry->deleteKeyTree(RootKey::CurrentUser, "Software\\Ad"), RegStatus::Ok);
    EXPECT_TRUE(points.EndRestorePoint());
    EXPECT_EQ(points.RestorePointSequence(), 0);

    // The copies hold the hives as they were before the first change.
    EXPECT_EQ(test::readHostFile(folder + "/SOFTWARE"), softwareBefore);
    EXPECT_EQ(test::readHostFile(folder + "/NTUSER.DAT"), ntuserBefore);
    EXPECT_NE(test::readHostFile(img.softwareHive), softwareBefore);
    auto list = ImageSystemRestore::listIn(quarantine);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].name, fs::path(folder).filename().string());
    EXPECT_EQ(list[0].description, "Vedozer Restore Point 12/8/2026 3:04:05 PM");
    EXPECT_FALSE(list[0].began.empty());
    EXPECT_FALSE(list[0].ended.empty());
    ASSERT_EQ(list[0].hives.size(), 2u);
    EXPECT_EQ(list[0].hives[0].storedName, "SOFTWARE");
    EXPECT_EQ(list[0].hives[0].hivePath, img.softwareHive);

    // After the end, changes are not copied any more.
    ASSERT_EQ(img.registry->setValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "Late", {kRegDword, "5678"}),
              RegStatus::Ok);
    EXPECT_EQ(test::readHostFile(folder + "/SOFTWARE"), softwareBefore);
}

TEST(ImageRestorePoint, EachRunGetsItsOwnNumberedFolderAndItsOwnCopies) {
    RemovalImage img({test::hiveSz("Ad", "A", "x"), test::hiveSz("Ad", "B", "y")});
    std::string quarantine = img.dataFolder + "/quarantine";
    ImageSystemRestore sr(*img.registry, quarantine, img.clock);
    RestorePoints points(&sr);
    ASSERT_TRUE(points.BeginRestorePoint("first"));
    int64_t firstSequence = points.RestorePointSequence();
    std::string first = sr.openFolder();
    img.registry->deleteValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "A");
    points.EndRestorePoint();
    std::string between = test::readHostFile(img.softwareHive);

    ASSERT_TRUE(points.BeginRestorePoint(std::string(100, 'd')));
    EXPECT_EQ(points.RestorePointSequence(), firstSequence + 1);
    std::string second = sr.openFolder();
    EXPECT_NE(first, second);
    EXPECT_EQ(second.substr(second.size() - 4), "-002");
    img.registry->deleteValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "B");
    points.EndRestorePoint();
    EXPECT_EQ(test::readHostFile(second + "/SOFTWARE"), between);
    auto list = ImageSystemRestore::listIn(quarantine);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].description, std::string(RestorePoints::kMaxDescription, 'd'));
}

TEST(ImageRestorePoint, AHiveThatCannotBeCopiedAsideIsNotChanged) {
    RemovalImage img({test::hiveSz("Ad", "Run", "x")});
    test::TempDir blocked;
    blocked.write("quarantine", "a file where the folder should be");
    ImageSystemRestore sr(*img.registry, blocked.str() + "/quarantine", img.clock);
    int64_t seq = 0;
    EXPECT_FALSE(sr.begin("x", RestorePoints::kRemovalType, seq));
    // With the point open but its folder gone, the write is refused rather than made unguarded.
    ImageSystemRestore sr2(*img.registry, img.dataFolder + "/quarantine", img.clock);
    ASSERT_TRUE(sr2.begin("x", RestorePoints::kRemovalType, seq));
    fs::remove_all(sr2.openFolder());
    std::string before = test::readHostFile(img.softwareHive);
    EXPECT_EQ(img.registry->deleteValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "Run"), RegStatus::Error);
    EXPECT_EQ(test::readHostFile(img.softwareHive), before);
    EXPECT_TRUE(img.registry->queryValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "Run"));
    sr2.end(seq, false);
    EXPECT_FALSE(sr2.end(seq, false));  // already ended
}

TEST(RestorePoints, ARefusedBeginStillEndsWithSequenceZero) {
    RestorePoints none(nullptr);
    EXPECT_FALSE(none.IsSystemRestoreAvailable());
    EXPECT_FALSE(none.BeginRestorePoint("x"));
    EXPECT_EQ(none.RestorePointSequence(), 0);
    EXPECT_FALSE(none.EndRestorePoint());
    EXPECT_EQ(none.RestorePointSequence(), 0);
}

}  // namespace
}  // namespace vedozer
