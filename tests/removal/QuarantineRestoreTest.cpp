#include <gtest/gtest.h>

#include <filesystem>

#include "removal/QuarantineRestore.h"
#include "removal/RemovalImage.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;
using Status = QuarantineRestoreResult::Status;
using test::RemovalImage;

TEST(QuarantineRestore, AFileComesBackWhereItWasAndNothingIsOverwrittenUnlessForced) {
    RemovalImage img;
    img.write("Program Files/Ad/ad.exe", std::string("MZ\0\x01 payload", 11));
    auto e = img.quarantine->storeFile(*img.files, "C:\\Program Files\\Ad\\ad.exe", "Ad");
    ASSERT_TRUE(e);
    fs::remove_all(img.drive + "/Program Files/Ad");  // even the folder is gone
    img.files->refresh();

    auto r = restoreQuarantined(*img.quarantine, *img.files, *img.registry, e->id, false);
    EXPECT_EQ(r.status, Status::Restored) << r.message;
    EXPECT_EQ(test::readHostFile(img.drive + "/Program Files/Ad/ad.exe"), std::string("MZ\0\x01 payload", 11));
    EXPECT_TRUE(img.quarantine->entry(e->id)->restored);
    EXPECT_TRUE(img.inQuarantine("ad.exe"));  // the copy stays

    img.write("Program Files/Ad/ad.exe", "newer file");
    r = restoreQuarantined(*img.quarantine, *img.files, *img.registry, e->id, false);
    EXPECT_EQ(r.status, Status::Exists);
    EXPECT_EQ(test::readHostFile(img.drive + "/Program Files/Ad/ad.exe"), "newer file");
    r = restoreQuarantined(*img.quarantine, *img.files, *img.registry, e->id, true);
    EXPECT_EQ(r.status, Status::Restored);
    EXPECT_EQ(test::readHostFile(img.drive + "/Program Files/Ad/ad.exe"), std::string("MZ\0\x01 payload", 11));
}

TEST(QuarantineRestore, UnknownWithdrawnAndMissingItemsAreRefused) {
    RemovalImage img;
    img.write("a/x.exe", "x");
    img.write("a/y.exe", "y");
    auto x = img.quarantine->storeFile(*img.files, "C:\\a\\x.exe", "");
    auto y = img.quarantine->storeFile(*img.files, "C:\\a\\y.exe", "");
    ASSERT_TRUE(x && y);
    img.quarantine->withdraw(*x);
    EXPECT_EQ(restoreQuarantined(*img.quarantine, *img.files, *img.registry, 99, false).status, Status::NotFound);
    EXPECT_EQ(restoreQuarantined(*img.quarantine, *img.files, *img.registry, x->id, true).status,
              Status::Withdrawn);
    fs::remove(img.dataFolder + "/quarantine/y.exe");
    fs::remove(img.drive + "/a/y.exe");
    img.files->refresh();
    auto r = restoreQuarantined(*img.quarantine, *img.files, *img.registry, y->id, false);
    EXPECT_EQ(r.status, Status::Failed);
    EXPECT_FALSE(img.exists("a/y.exe"));
}

TEST(QuarantineRestore, AFolderComesBackWithEverythingInIt) {
    RemovalImage img;
    img.write("Program Files/Toolbar/bin/tb.dll", "dll");
    img.write("Program Files/Toolbar/conf/a.ini", "ini");
    auto e = img.quarantine->storeFolder(*img.files, "C:\\Program Files\\Toolbar", "Toolbar");
    ASSERT_TRUE(e);
    fs::remove_all(img.drive + "/Program Files/Toolbar");
    img.files->refresh();
    auto r = restoreQuarantined(*img.quarantine, *img.files, *img.registry, e->id, false);
    EXPECT_EQ(r.status, Status::Restored) << r.message;
    EXPECT_EQ(test::readHostFile(img.drive + "/Program Files/Toolbar/bin/tb.dll"), "dll");
    EXPECT_EQ(test::readHostFile(img.drive + "/Program Files/Toolbar/conf/a.ini"), "ini");
    EXPECT_EQ(restoreQuarantined(*img.quarantine, *img.files, *img.registry, e->id, false).status, Status::Exists);
}

// Every type of registry data survives the trip into the quarantine and back.
TEST(QuarantineRestore, RegistryValuesOfEveryTypeComeBackExactly) {
    using namespace test;
    std::vector<HiveEntry> software = {
        hiveValue("Ad", "none", kRegNone, std::string("\0\x7f", 2)),
        hiveSz("Ad", "sz", "c:\\program files\\ad\\ad.exe"),
        hiveSz("Ad", "", "default value \xe9"),
        hiveExpandSz("Ad", "expand", "%ProgramFiles%\\ad"),
        hiveBinary("Ad", "binary", std::string("\0\x01\x02\xff\r\n", 6)),
        hiveDword("Ad", "dword", 0xdeadbeef),
        hiveValue("Ad", "dwordbe", kRegDwordBigEndian, std::string("\x12\x34\x56\x78", 4)),
        hiveValue("Ad", "link", kRegLink, std::string("\\\0R\0e\0g\0", 8)),
        hiveMultiSz("Ad", "multi", {"one", "two", "three"}),
        hiveQword("Ad", "qword", 0x0123456789abcdefULL),
        hiveValue("Ad", "resource list", 8, std::string(20, '\x05')),
        hiveValue("Ad", "odd type", 0x1234, "odd"),
    };
    RemovalImage img(software);
    Registry& reg = *img.registry;
    auto before = reg.values(RootKey::LocalMachine, "SOFTWARE\\Ad");
    ASSERT_EQ(before.size(), software.size());
    std::vector<uint64_t> ids;
    for (const auto& v : before) {
        auto backup = captureRegistryValue(reg, RootKey::LocalMachine, "SOFTWARE\\Ad", v.name);
        ASSERT_TRUE(backup);
        auto e = img.quarantine->storeRegistry(*backup, "Ad");
        ASSERT_TRUE(e);
        ids.push_back(e->id);
        ASSERT_EQ(reg.deleteValue(RootKey::LocalMachine, "SOFTWARE\\Ad", v.name), RegStatus::Ok) << v.name;
    }
    EXPECT_TRUE(reg.values(RootKey::LocalMachine, "SOFTWARE\\Ad").empty());
    auto results = restoreAllQuarantined(*img.quarantine, *img.files, reg, false);
    ASSERT_EQ(results.size(), ids.size());
    for (const auto& r : results) EXPECT_EQ(r.status, Status::Restored) << r.message;
    // Read back through a fresh view of the hive file.
    ImageRegistry::Config config;
    config.hives.software = img.softwareHive;
    ImageRegistry fresh(config);
    for (const auto& v : before) {
        auto now = fresh.queryValue(RootKey::LocalMachine, "SOFTWARE\\Ad", v.name);
        ASSERT_TRUE(now) << v.name;
        EXPECT_EQ(*now, v.value) << v.name;
    }
    // A value that exists again is not replaced without force.
    reg.setValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "sz", RegistryValue{kRegSz, std::string("changed\0", 8)});
    EXPECT_EQ(restoreQuarantined(*img.quarantine, *img.files, reg, ids[1], false).status, Status::Exists);
    EXPECT_EQ(reg.queryValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "sz")->data, std::string("changed\0", 8));
    EXPECT_EQ(restoreQuarantined(*img.quarantine, *img.files, reg, ids[1], true).status, Status::Restored);
    EXPECT_EQ(*reg.queryValue(RootKey::LocalMachine, "SOFTWARE\\Ad", "sz"), before[1].value);
}

TEST(QuarantineRestore, AKeyComesBackWithAllItsSubkeysAndValues) {
    using namespace test;
    RemovalImage img({hiveKey("Microsoft")},
                     {hiveSz("Software\\AdCo", "", "root default"), hiveDword("Software\\AdCo\\Settings", "n", 3),
                      hiveKey("Software\\AdCo\\Empty\\Deeper"),
                      hiveBinary("Software\\AdCo\\Settings\\Inner", "blob", std::string("\0\1\2", 3)),
                      hiveSz("Software\\Keep", "k", "kept")});
    Registry& reg = *img.registry;
    auto backup = captureRegistryKey(reg, RootKey::CurrentUser, "Software\\AdCo");
    ASSERT_TRUE(backup);
    auto e = img.quarantine->storeRegistry(*backup, "AdCo");
    ASSERT_TRUE(e);
    ASSERT_EQ(reg.deleteKeyTree(RootKey::CurrentUser, "Software\\AdCo"), RegStatus::Ok);
    ASSERT_FALSE(reg.keyExists(RootKey::CurrentUser, "Software\\AdCo"));

    auto r = restoreQuarantined(*img.quarantine, *img.files, reg, e->id, false);
    EXPECT_EQ(r.status, Status::Restored) << r.message;
    ImageRegistry::Config config;
    config.hives.ntuser = img.ntuserHive;
    ImageRegistry fresh(config);
    auto again = captureRegistryKey(fresh, RootKey::CurrentUser, "Software\\AdCo");
    ASSERT_TRUE(again);
    EXPECT_EQ(formatRegistryBackup(*again), formatRegistryBackup(*backup));
    EXPECT_TRUE(fresh.keyExists(RootKey::CurrentUser, "Software\\AdCo\\Empty\\Deeper"));
    EXPECT_EQ(fresh.queryValue(RootKey::CurrentUser, "Software\\Keep", "k")->data, std::string("kept\0", 5));
    EXPECT_EQ(restoreQuarantined(*img.quarantine, *img.files, reg, e->id, false).status, Status::Exists);
}

TEST(QuarantineRestore, TheListTellsWhatHappenedToEachItem) {
    RemovalImage img({test::hiveSz("Ad", "", "x")});
    img.write("a/x.exe", "x");
    auto f = img.quarantine->storeFile(*img.files, "C:\\a\\x.exe", "Ad");
    auto v = img.quarantine->storeRegistry(
        *captureRegistryValue(*img.registry, RootKey::LocalMachine, "SOFTWARE\\Ad", ""), "");
    ASSERT_TRUE(f && v);
    img.quarantine->withdraw(*f);
    auto lines = describeQuarantine(img.quarantine->entries());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("file  not removed  C:\\a\\x.exe  (Ad)"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("value  quarantined  HKEY_LOCAL_MACHINE\\SOFTWARE\\Ad [(Default)]"), std::string::npos)
        << lines[1];
}

}  // namespace
}  // namespace vedozer
