#include "platform/image/ImageRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "image/RegistryImage.h"

namespace vedozer {
namespace {

using test::RegistryImage;
using Names = std::vector<std::string>;

Names sorted(Names v) {
    std::sort(v.begin(), v.end());
    return v;
}

const RootKey HKLM = RootKey::LocalMachine, HKCU = RootKey::CurrentUser, HKU = RootKey::Users,
              HKCR = RootKey::ClassesRoot, HKCC = RootKey::CurrentConfig, HKDD = RootKey::DynData;
const std::string kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

TEST_F(RegistryImage, LookupIgnoresCase) {
    EXPECT_EQ(reg->openKey(HKLM, "software\\MICROSOFT\\windows\\CurrentVersion\\rUN", 0x3F), RegStatus::Ok);
    EXPECT_EQ(sz(HKLM, kRun, "BAD"), "c:\\bad\\bad.exe");
    EXPECT_EQ(sz(HKLM, "Software\\microsoft\\WINDOWS\\currentversion\\run", "good"), "c:\\good.exe");
    // Letters beyond ASCII, as the code page has them.
    EXPECT_EQ(reg->openKey(HKLM, "SOFTWARE\\GR\xD6\xDF" "E\\caf\xC9", 0x3F), RegStatus::Ok);
    EXPECT_EQ(sorted(reg->subKeys(HKLM, "SOFTWARE\\gr\xF6\xDF" "e")), Names{"Caf\xE9"});
    EXPECT_EQ(reg->openKey(HKLM, "SOFTWARE\\Grosse", 0x3F), RegStatus::NotFound);
    EXPECT_EQ(reg->openKey(HKLM, kRun + "X", 0x3F), RegStatus::NotFound);
    EXPECT_FALSE(reg->keyExists(HKLM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Bad"));
}

TEST_F(RegistryImage, PathSeparatorsAreTakenStrictly) {
    EXPECT_EQ(reg->openKey(HKLM, "", 0x3F), RegStatus::Ok);
    EXPECT_EQ(reg->openKey(HKLM, kRun + "\\", 0x3F), RegStatus::Ok);  // one trailing "\" ignored
    EXPECT_EQ(sz(HKLM, kRun + "\\", "Bad"), "c:\\bad\\bad.exe");
    EXPECT_EQ(reg->openKey(HKLM, kRun + "\\\\", 0x3F), RegStatus::NotFound);
    EXPECT_EQ(reg->openKey(HKLM, "SOFTWARE\\\\Microsoft", 0x3F), RegStatus::NotFound);
    EXPECT_EQ(reg->openKey(HKLM, "\\SOFTWARE", 0x3F), RegStatus::NotFound);
    EXPECT_EQ(reg->openKey(HKLM, "\\", 0x3F), RegStatus::NotFound);
    EXPECT_EQ(reg->openKey(HKLM, std::string("SOFTWARE\0x", 10), 0x3F), RegStatus::NotFound);
    EXPECT_NE(reg->lastError().find("invalid key path"), std::string::npos);
    EXPECT_FALSE(reg->queryValue(HKLM, "SOFTWARE\\\\Microsoft\\Windows\\CurrentVersion\\Run", "Bad"));
    EXPECT_TRUE(reg->subKeys(HKLM, "\\SOFTWARE").empty());
    // A changed path is never guessed at: writes refuse it.
    EXPECT_EQ(reg->createKey(HKLM, "SOFTWARE\\\\New"), RegStatus::Error);
    EXPECT_EQ(reg->setValue(HKLM, "\\SOFTWARE\\New", "v", {kRegSz, "x"}), RegStatus::Error);
    EXPECT_EQ(reg->deleteKeyTree(HKLM, "SOFTWARE\\\\Microsoft"), RegStatus::Error);
    EXPECT_EQ(reg->deleteValue(HKLM, kRun + "\\\\", "Bad"), RegStatus::Error);
    EXPECT_EQ(sz(HKLM, kRun, "Bad"), "c:\\bad\\bad.exe");
    EXPECT_TRUE(reg->keyExists(HKLM, "SOFTWARE\\Microsoft"));
}

TEST_F(RegistryImage, AccessMaskIsNotEnforced) {
    for (uint32_t mask : {0x3Fu, 0x20019u, 0xF003Fu, 0u})
        EXPECT_EQ(reg->openKey(HKLM, kRun, mask), RegStatus::Ok) << mask;
}

TEST_F(RegistryImage, LocalMachineListsItsHives) {
    EXPECT_EQ(reg->subKeys(HKLM, ""), (Names{"SOFTWARE", "SYSTEM", "SAM", "SECURITY"}));
    EXPECT_EQ(reg->openKey(HKLM, "sam\\SAM\\domains", 0x3F), RegStatus::Ok);
    EXPECT_EQ(reg->openKey(HKLM, "Security\\Policy", 0x3F), RegStatus::Ok);
    EXPECT_EQ(reg->openKey(HKLM, "HARDWARE", 0x3F), RegStatus::NotFound);
    EXPECT_EQ(reg->openKey(HKLM, "Other\\SOFTWARE", 0x3F), RegStatus::NotFound);
    EXPECT_TRUE(reg->values(HKLM, "").empty());
    EXPECT_FALSE(reg->queryValue(HKLM, "", ""));

    config.hives.sam.clear();
    config.hives.security.clear();
    config.hives.system.clear();
    reopen();
    EXPECT_EQ(reg->subKeys(HKLM, ""), Names{"SOFTWARE"});
    EXPECT_EQ(reg->openKey(HKLM, "SYSTEM", 0x3F), RegStatus::NotFound);
    EXPECT_EQ(reg->openKey(HKLM, "SAM", 0x3F), RegStatus::NotFound);
    EXPECT_EQ(reg->openKey(HKCC, "", 0x3F), RegStatus::NotFound);
}

TEST_F(RegistryImage, CurrentControlSetFollowsSelectCurrent) {
    EXPECT_EQ(reg->openKey(HKLM, "SYSTEM\\CurrentControlSet\\Services\\Cur", 0x3F), RegStatus::Ok);
    EXPECT_EQ(reg->openKey(HKLM, "system\\currentcontrolset\\SERVICES\\old", 0x3F), RegStatus::NotFound);
    EXPECT_EQ(reg->openKey(HKLM, "SYSTEM\\ControlSet001\\Services\\Old", 0x3F), RegStatus::Ok);
    EXPECT_EQ(sorted(reg->subKeys(HKLM, "SYSTEM")),
              (Names{"ControlSet001", "ControlSet002", "CurrentControlSet", "Select"}));
    EXPECT_EQ(sorted(reg->subKeys(HKLM, "SYSTEM\\CurrentControlSet")), (Names{"Hardware Profiles", "Services"}));

    // Another current set, read from a fresh registry.
    test::buildHive(hive("SYSTEM"), {test::hiveDword("Select", "Current", 1), test::hiveKey("ControlSet001\\Services\\Old")});
    reopen();
    EXPECT_EQ(reg->openKey(HKLM, "SYSTEM\\CurrentControlSet\\Services\\Old", 0x3F), RegStatus::Ok);
    EXPECT_EQ(reg->openKey(HKLM, "SYSTEM\\CurrentControlSet\\Services\\Cur", 0x3F), RegStatus::NotFound);

    // Without Select there is no current set: the name is looked up as it stands.
    test::buildHive(hive("SYSTEM"), {test::hiveKey("ControlSet001")});
    reopen();
    EXPECT_EQ(reg->openKey(HKLM, "SYSTEM\\CurrentControlSet", 0x3F), RegStatus::NotFound);
    EXPECT_EQ(reg->subKeys(HKLM, "SYSTEM"), Names{"ControlSet001"});
}

TEST_F(RegistryImage, CurrentConfigIsTheCurrentHardwareProfile) {
    EXPECT_EQ(reg->openKey(HKCC, "", 0x3F), RegStatus::Ok);
    EXPECT_EQ(sz(HKCC, "software\\cfg", "Name"), "current");
    EXPECT_EQ(reg->subKeys(HKCC, ""), Names{"Software"});

    // No "Current" key in the hive: the profile named by IDConfigDB.
    test::buildHive(hive("SYSTEM"), {test::hiveDword("Select", "Current", 1),
                                     test::hiveDword("ControlSet001\\Control\\IDConfigDB", "CurrentConfig", 1),
                                     test::hiveSz("ControlSet001\\Hardware Profiles\\0001\\Software", "P", "one"),
                                     test::hiveSz("ControlSet001\\Hardware Profiles\\0000\\Software", "P", "zero")});
    reopen();
    EXPECT_EQ(sz(HKCC, "Software", "P"), "one");

    test::buildHive(hive("SYSTEM"), {test::hiveDword("Select", "Current", 1), test::hiveKey("ControlSet001\\Hardware Profiles\\0001")});
    reopen();
    EXPECT_EQ(reg->openKey(HKCC, "", 0x3F), RegStatus::NotFound);
    EXPECT_TRUE(reg->subKeys(HKCC, "").empty());
}

TEST_F(RegistryImage, CurrentUserAndUsers) {
    const std::string main = "Software\\Microsoft\\Internet Explorer\\Main";
    EXPECT_EQ(sz(HKCU, main, "Start Page"), "http://home.example/");
    EXPECT_EQ(sz(HKU, std::string(test::kTestSid) + "\\" + main, "start page"), "http://home.example/");
    EXPECT_EQ(reg->subKeys(HKU, ""), (Names{".DEFAULT", test::kTestSid, std::string(test::kTestSid) + "_Classes"}));
    EXPECT_EQ(reg->openKey(HKU, ".default\\Software\\DefaultOnly", 0x3F), RegStatus::Ok);
    EXPECT_EQ(reg->openKey(HKCU, "Software\\DefaultOnly", 0x3F), RegStatus::NotFound);
    EXPECT_EQ(sz(HKU, std::string(test::kTestSid) + "_classes\\CLSID\\{U}", ""), "User");
    EXPECT_EQ(reg->openKey(HKU, "S-1-5-18", 0x3F), RegStatus::NotFound);
    EXPECT_EQ(sorted(reg->subKeys(HKCU, "")), (Names{"Console", "Software"}));

    // The user's classes appear under HKCU\Software\Classes, as on a running system.
    EXPECT_EQ(sz(HKCU, "Software\\Classes\\CLSID\\{U}", ""), "User");
    EXPECT_EQ(sorted(reg->subKeys(HKCU, "Software")), (Names{"Classes", "Microsoft"}));
    EXPECT_EQ(sz(HKU, std::string(test::kTestSid) + "\\Software\\Classes\\Shared", ""), "user");

    ImageRegistry::Config defaults;
    defaults.hives.ntuser = hive("NTUSER.DAT");
    ImageRegistry plain(defaults);
    EXPECT_EQ(plain.subKeys(HKU, ""), Names{"S-1-5-21-0-0-0-1001"});
    EXPECT_EQ(plain.openKey(HKU, "S-1-5-21-0-0-0-1001\\" + main, 0x3F), RegStatus::Ok);
    EXPECT_EQ(plain.openKey(HKCU, "Software\\Classes", 0x3F), RegStatus::NotFound);  // no user classes
    EXPECT_EQ(plain.openKey(HKCR, "", 0x3F), RegStatus::NotFound);
}

TEST_F(RegistryImage, ClassesRootOverlaysUserClassesOnMachineClasses) {
    EXPECT_EQ(sz(HKCR, "CLSID\\{U}", ""), "User");
    EXPECT_EQ(sz(HKCR, "clsid\\{m}", ""), "Machine");
    EXPECT_EQ(sz(HKCR, ".txt", ""), "txtfile");
    EXPECT_EQ(sorted(reg->subKeys(HKCR, "CLSID")), (Names{"{M}", "{U}"}));
    // A key both have is read from the user's classes, values included...
    EXPECT_EQ(sz(HKCR, "Shared", ""), "user");
    EXPECT_FALSE(reg->queryValue(HKCR, "Shared", "OnlyMachine"));
    ASSERT_EQ(reg->values(HKCR, "Shared").size(), 1u);
    // ...while its sub keys are merged, each name once.
    EXPECT_EQ(sorted(reg->subKeys(HKCR, "Shared")), (Names{"MachineSub", "UserSub"}));
    EXPECT_EQ(sorted(reg->subKeys(HKCR, "")), (Names{".txt", "CLSID", "Shared", "UserOnly"}));
    EXPECT_EQ(reg->openKey(HKCR, "Shared\\MachineSub", 0x3F), RegStatus::Ok);
    EXPECT_EQ(reg->openKey(HKCR, "UserOnly\\Deep", 0x3F), RegStatus::Ok);
    EXPECT_EQ(reg->openKey(HKCR, "Nothing", 0x3F), RegStatus::NotFound);
    // The machine's own view is unchanged.
    EXPECT_EQ(sz(HKLM, "SOFTWARE\\Classes\\Shared", "OnlyMachine"), "m");
}

TEST_F(RegistryImage, DynDataDoesNotExist) {
    EXPECT_EQ(reg->openKey(HKDD, "", 0x3F), RegStatus::NotFound);
    EXPECT_EQ(reg->openKey(HKDD, "Config Manager", 0x3F), RegStatus::NotFound);
    EXPECT_TRUE(reg->subKeys(HKDD, "").empty());
    EXPECT_EQ(reg->createKey(HKDD, "X"), RegStatus::NotFound);
    EXPECT_EQ(reg->setValue(HKDD, "", "v", {kRegSz, std::string("x\0", 2)}), RegStatus::NotFound);
}

TEST_F(RegistryImage, ValuesOfEveryTypeRoundTrip) {
    const std::string key = "SOFTWARE\\Types";
    const std::vector<NamedValue> written = {
        {"", {kRegSz, std::string("default\0", 8)}},
        {"Sz", {kRegSz, std::string("Caf\xE9 \x80 5\0", 9)}},
        {"Expand", {kRegExpandSz, std::string("%SystemRoot%\\x.exe\0", 19)}},
        {"Dword", {kRegDword, test::dwordBytes(0xDEADBEEF)}},
        {"Binary", {kRegBinary, std::string("\0\x01\xFF\x80zz", 6)}},
        {"Multi", {kRegMultiSz, std::string("one\0two\0\0", 9)}},
        {"Qword", {kRegQword, test::qwordBytes(0x0123456789ABCDEFULL)}},
        {"Empty", {kRegBinary, ""}},
        {"NoZero", {kRegSz, "abc"}},
        {"Odd type", {0x2000, "raw"}},
    };
    for (const auto& v : written) ASSERT_EQ(reg->setValue(HKLM, key, v.name, v.value), RegStatus::Ok) << v.name;
    for (int pass = 0; pass < 2; ++pass) {  // from the write handle, then from the file
        for (const auto& v : written) {
            auto read = reg->queryValue(HKLM, key, v.name);
            ASSERT_TRUE(read) << v.name;
            EXPECT_EQ(*read, v.value) << v.name;
        }
        auto all = reg->values(HKLM, key);
        ASSERT_EQ(all.size(), written.size());
        for (size_t i = 0; i < all.size(); ++i) {
            EXPECT_EQ(all[i].name, written[i].name);
            EXPECT_EQ(all[i].value, written[i].value);
        }
        reopen();
    }
    EXPECT_FALSE(reg->queryValue(HKLM, key, "Missing"));
    EXPECT_FALSE(reg->queryValue(HKLM, key + "\\Missing", "Sz"));
}

}  // namespace
}  // namespace vedozer
