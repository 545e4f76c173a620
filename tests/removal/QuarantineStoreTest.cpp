#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "removal/RemovalImage.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;
using test::RemovalImage;

std::vector<std::string> folderNames(const std::string& dir) {
    std::vector<std::string> out;
    for (auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

TEST(QuarantineStore, SameNameFromTwoFoldersKeepsBothCopies) {
    RemovalImage img;
    img.write("Program Files/One/ad.exe", "first");
    img.write("Program Files/Two/AD.EXE", "second");
    img.write("Windows/ad.exe", "third");
    auto a = img.quarantine->storeFile(*img.files, "C:\\Program Files\\One\\ad.exe", "Ad One");
    auto b = img.quarantine->storeFile(*img.files, "C:\\Program Files\\Two\\AD.EXE", "Ad Two");
    auto c = img.quarantine->storeFile(*img.files, "C:\\Windows\\ad.exe", "Ad Three");
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a->storedName, "ad.exe");
    EXPECT_EQ(b->storedName, "AD (2).EXE");
    EXPECT_EQ(c->storedName, "ad (3).exe");
    EXPECT_EQ(img.quarantined("ad.exe"), "first");
    EXPECT_EQ(img.quarantined("AD (2).EXE"), "second");
    EXPECT_EQ(img.quarantined("ad (3).exe"), "third");
    auto entries = img.quarantine->entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].id, b->id);
    EXPECT_EQ(entries[1].location, "C:\\Program Files\\Two\\AD.EXE");
    EXPECT_EQ(entries[1].spywareName, "Ad Two");
    EXPECT_EQ(entries[1].kind, QuarantineKind::File);
    // Storing copies, never moves: the originals are the caller's to delete.
    EXPECT_TRUE(img.exists("Program Files/One/ad.exe"));
}

TEST(QuarantineStore, NamesTheFolderUsesItselfAreNeverTaken) {
    RemovalImage img;
    img.write("x/QuarantineLog.txt", "spyware named like the log");
    img.write("y/QuarantineIndex.txt", "and like the index");
    auto a = img.quarantine->storeFile(*img.files, "C:\\x\\QuarantineLog.txt", "");
    auto b = img.quarantine->storeFile(*img.files, "C:\\y\\QuarantineIndex.txt", "");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->storedName, "QuarantineLog (2).txt");
    EXPECT_EQ(b->storedName, "QuarantineIndex (2).txt");
    img.quarantine->logFile(a->storedName, "C:\\x\\QuarantineLog.txt");
    EXPECT_EQ(img.quarantined("QuarantineLog (2).txt"), "spyware named like the log");
    EXPECT_EQ(img.quarantine->entries().size(), 2u);
}

TEST(QuarantineStore, ANewStoreContinuesTheIdsAndNamesOfTheIndex) {
    RemovalImage img;
    img.write("a/x.dll", "1");
    img.write("b/x.dll", "2");
    auto first = img.quarantine->storeFile(*img.files, "C:\\a\\x.dll", "");
    Quarantine again(img.dataFiles, img.dataFolder, img.clock);
    auto second = again.storeFile(*img.files, "C:\\b\\x.dll", "");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(second->id, first->id + 1);
    EXPECT_EQ(second->storedName, "x (2).dll");
}

// IDs never wrap: after the largest one, nothing more is stored (so nothing more may be deleted).
TEST(QuarantineStore, AfterTheLargestIdNothingIsStored) {
    RemovalImage img;
    QuarantineEntry last;
    last.id = UINT64_MAX - 1;
    last.storedName = "old.exe";
    img.dir.write("data/quarantine/QuarantineIndex.txt", quarantine_index::formatEntry(last));
    img.write("a/x.exe", "1");
    img.write("a/y.exe", "2");
    img.write("a/dir/f", "3");
    auto largest = img.quarantine->storeFile(*img.files, "C:\\a\\x.exe", "");
    ASSERT_TRUE(largest);
    EXPECT_EQ(largest->id, UINT64_MAX);
    EXPECT_FALSE(img.quarantine->storeFile(*img.files, "C:\\a\\y.exe", ""));
    EXPECT_NE(img.quarantine->problem().find("largest ID"), std::string::npos) << img.quarantine->problem();
    Quarantine again(img.dataFiles, img.dataFolder, img.clock);
    EXPECT_FALSE(again.storeFolder(*img.files, "C:\\a\\dir", ""));
    RegistryBackup backup;
    backup.root = RootKey::LocalMachine;
    backup.keyPath = "SOFTWARE\\Ad";
    backup.wholeKey = true;
    EXPECT_FALSE(again.storeRegistry(backup, ""));
    EXPECT_EQ(again.entries().size(), 2u);
    EXPECT_FALSE(img.inQuarantine("y.exe"));
    EXPECT_FALSE(img.inQuarantine("dir"));
}

TEST(QuarantineStore, AFailedCopyLeavesNoTraceAndNoEntry) {
    RemovalImage img;
    img.write("a/x.exe", "data");
    // The quarantine folder cannot be made: a file has its name.
    test::TempDir dir;
    dir.write("data/quarantine", "not a folder");
    Quarantine blocked(img.dataFiles, dir.str() + "/data", img.clock);
    EXPECT_FALSE(blocked.storeFile(*img.files, "C:\\a\\x.exe", ""));
    EXPECT_TRUE(blocked.entries().empty());
    // Nothing to read: a folder given as a file, and a path outside the image.
    img.write("a/dir/f", "x");
    EXPECT_FALSE(img.quarantine->storeFile(*img.files, "C:\\a\\dir", ""));
    EXPECT_FALSE(img.quarantine->storeFile(*img.files, "C:\\..\\..\\etc\\passwd", ""));
    EXPECT_TRUE(img.quarantine->entries().empty());
    for (auto& name : folderNames(img.dataFolder + "/quarantine")) EXPECT_EQ(name.rfind(".vedozer-tmp-", 0), std::string::npos);
}

TEST(QuarantineStore, FoldersAreCopiedWholeUnderAUniqueName) {
    RemovalImage img;
    img.write("Program Files/Toolbar/bin/tb.dll", "dll");
    img.write("Program Files/Toolbar/readme.txt", "read me");
    img.write("Program Files/Toolbar/empty/.keep", "");
    img.write("Other/Toolbar/x", "other");
    auto a = img.quarantine->storeFolder(*img.files, "C:\\Program Files\\Toolbar\\", "Toolbar");
    auto b = img.quarantine->storeFolder(*img.files, "C:\\Other\\Toolbar", "Toolbar");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->kind, QuarantineKind::Folder);
    EXPECT_EQ(a->location, "C:\\Program Files\\Toolbar");
    EXPECT_EQ(a->storedName, "Toolbar");
    EXPECT_EQ(b->storedName, "Toolbar (2)");
    EXPECT_EQ(img.quarantined("Toolbar/bin/tb.dll"), "dll");
    EXPECT_EQ(img.quarantined("Toolbar/readme.txt"), "read me");
    EXPECT_TRUE(img.inQuarantine("Toolbar/empty/.keep"));
    EXPECT_EQ(img.quarantined("Toolbar (2)/x"), "other");
    EXPECT_FALSE(img.quarantine->storeFolder(*img.files, "C:\\No Such Folder", ""));
}

TEST(QuarantineStore, WithdrawDropsTheCopyAndMarksTheEntry) {
    RemovalImage img;
    img.write("a/locked.exe", "still here");
    auto e = img.quarantine->storeFile(*img.files, "C:\\a\\locked.exe", "");
    ASSERT_TRUE(e);
    img.quarantine->withdraw(*e);
    EXPECT_FALSE(img.inQuarantine("locked.exe"));
    auto entries = img.quarantine->entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(entries[0].withdrawn);
    // The name is free again for the next attempt.
    auto again = img.quarantine->storeFile(*img.files, "C:\\a\\locked.exe", "");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->storedName, "locked.exe");
    EXPECT_GT(again->id, e->id);
}

TEST(QuarantineStore, StaleTemporaryCopiesAreDroppedOnPrepare) {
    RemovalImage img;
    fs::create_directories(img.dataFolder + "/quarantine/.vedozer-tmp-folder-3/sub");
    img.dir.write("data/quarantine/.vedozer-tmp-123-456", "half a copy");
    img.dir.write("data/quarantine/kept.exe", "a real copy");
    ASSERT_TRUE(img.quarantine->prepare());
    EXPECT_EQ(folderNames(img.dataFolder + "/quarantine"), std::vector<std::string>{"kept.exe"});
}

TEST(QuarantineStore, RegistryDataIsSavedAsAFileOfItsOwn) {
    RemovalImage img({test::hiveSz("Ad", "Run", "c:\\ad.exe"), test::hiveDword("Ad\\Sub", "n", 7)});
    auto value = captureRegistryValue(*img.registry, RootKey::LocalMachine, "SOFTWARE\\Ad", "Run");
    auto key = captureRegistryKey(*img.registry, RootKey::LocalMachine, "SOFTWARE\\Ad");
    ASSERT_TRUE(value && key);
    EXPECT_EQ(key->keys, (std::vector<std::string>{"", "Sub"}));
    auto ev = img.quarantine->storeRegistry(*value, "Ad");
    auto ek = img.quarantine->storeRegistry(*key, "Ad");
    ASSERT_TRUE(ev && ek);
    EXPECT_EQ(ev->kind, QuarantineKind::RegistryValue);
    EXPECT_EQ(ev->location, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Ad");
    EXPECT_EQ(ev->valueName, "Run");
    EXPECT_EQ(ek->kind, QuarantineKind::RegistryKey);
    auto saved = parseRegistryBackup(img.quarantined(ek->storedName));
    ASSERT_TRUE(saved);
    ASSERT_EQ(saved->values.size(), 2u);
    EXPECT_EQ(saved->values[1].keyPath, "Sub");
    EXPECT_FALSE(captureRegistryValue(*img.registry, RootKey::LocalMachine, "SOFTWARE\\Ad", "Nope"));
    EXPECT_FALSE(captureRegistryKey(*img.registry, RootKey::LocalMachine, "SOFTWARE\\Nope"));
}

}  // namespace
}  // namespace vedozer
