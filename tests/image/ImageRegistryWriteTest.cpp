#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "image/HiveTools.h"
#include "image/RegistryImage.h"
#include "platform/image/ImageRegistry.h"
#include "platform/image/RegfGenerator.h"

namespace vedozer {
namespace {

using test::RegistryImage;
using Names = std::vector<std::string>;

const RootKey HKLM = RootKey::LocalMachine, HKCU = RootKey::CurrentUser, HKU = RootKey::Users,
              HKCR = RootKey::ClassesRoot, HKCC = RootKey::CurrentConfig;
const std::string kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kRunInHive = "\\Microsoft\\Windows\\CurrentVersion\\Run";

RegistryValue text(const std::string& s) { return {kRegSz, s + std::string(1, '\0')}; }

Names sorted(Names v) {
    std::sort(v.begin(), v.end());
    return v;
}

TEST_F(RegistryImage, SetValueCreatesMissingKeysAndTheHivexToolsReadIt) {
    REQUIRE_HIVEX_TOOL("hivexget");
    ASSERT_EQ(reg->setValue(HKLM, "SOFTWARE\\Vedozer Labs\\App\\Settings", "FirstTime", text("Yes")), RegStatus::Ok)
        << reg->lastError();
    ASSERT_EQ(reg->setValue(HKLM, "SOFTWARE\\vedozer labs\\APP\\Settings", "Count", {kRegDword, test::dwordBytes(7)}),
              RegStatus::Ok);
    ASSERT_EQ(reg->setValue(HKCU, "Software\\Caf\xE9", "Gr\xFC\xDF", text("\x80 sign")), RegStatus::Ok);
    EXPECT_EQ(sz(HKLM, "SOFTWARE\\Vedozer Labs\\App\\Settings", "firsttime"), "Yes");

    EXPECT_EQ(test::hivexget(hive("SOFTWARE"), "\\Vedozer Labs\\App\\Settings", "FirstTime").out, "Yes\n");
    EXPECT_EQ(test::hivexget(hive("SOFTWARE"), "\\Vedozer Labs\\App\\Settings", "Count").out, "7\n");
    // Names and text are stored as Unicode: the tool prints them in UTF-8.
    EXPECT_EQ(test::hivexget(hive("NTUSER.DAT"), "\\Software\\Caf\xC3\xA9", "Gr\xC3\xBC\xC3\x9F").out,
              "\xE2\x82\xAC sign\n");
    // Existing keys keep the spelling they have; nothing else of the hive changed.
    EXPECT_EQ(sorted(reg->subKeys(HKLM, "SOFTWARE")),
              (Names{"Classes", "Gr\xF6\xDF" "e", "Microsoft", "Vedozer Labs"}));
    EXPECT_EQ(test::hivexget(hive("SOFTWARE"), kRunInHive, "Bad").out, "c:\\bad\\bad.exe\n");
}

TEST_F(RegistryImage, CreateKeyMakesEveryMissingPart) {
    EXPECT_EQ(reg->createKey(HKLM, "SOFTWARE\\A\\B\\C"), RegStatus::Ok);
    EXPECT_EQ(reg->createKey(HKLM, "software\\a\\b\\c"), RegStatus::Ok);  // exists: nothing to do
    reopen();
    EXPECT_EQ(reg->subKeys(HKLM, "SOFTWARE\\A"), Names{"B"});
    EXPECT_EQ(reg->subKeys(HKLM, "SOFTWARE\\A\\B"), Names{"C"});
    EXPECT_EQ(reg->createKey(HKLM, ""), RegStatus::Ok);
    EXPECT_EQ(reg->createKey(HKLM, "SOFTWARE\\" + std::string(256, 'k')), RegStatus::Error);
    EXPECT_EQ(reg->createKey(HKLM, "SOFTWARE\\" + std::string(255, 'k')), RegStatus::Ok);
}

TEST_F(RegistryImage, ValueChangesKeepTheOtherValues) {
    ASSERT_EQ(reg->setValue(HKLM, kRun, "bad", text("c:\\changed.exe")), RegStatus::Ok);
    EXPECT_EQ(sz(HKLM, kRun, "Good"), "c:\\good.exe");
    auto values = reg->values(HKLM, kRun);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].name, "Bad");  // the stored name keeps its spelling
    EXPECT_EQ(values[0].value, text("c:\\changed.exe"));

    ASSERT_EQ(reg->setValue(HKLM, kRun, "", text("default")), RegStatus::Ok);
    ASSERT_EQ(reg->deleteValue(HKLM, kRun, "BAD"), RegStatus::Ok) << reg->lastError();
    reopen();
    values = reg->values(HKLM, kRun);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].name, "Good");
    EXPECT_EQ(values[1].name, "");
    EXPECT_EQ(reg->deleteValue(HKLM, kRun, "Bad"), RegStatus::NotFound);
    EXPECT_EQ(reg->deleteValue(HKLM, kRun + "\\Nothing", "Good"), RegStatus::NotFound);
    ASSERT_EQ(reg->deleteValue(HKLM, kRun, ""), RegStatus::Ok);
    EXPECT_EQ(reg->values(HKLM, kRun).size(), 1u);
    EXPECT_EQ(sz(HKLM, kRun, "Good"), "c:\\good.exe");
    EXPECT_EQ(reg->deleteValue(HKLM, kRun, ""), RegStatus::NotFound);
    EXPECT_EQ(reg->openKey(HKLM, kRun, 0x3F), RegStatus::Ok);  // the key stays
}

TEST_F(RegistryImage, DeleteKeyTreeRemovesEverythingBelow) {
    REQUIRE_HIVEX_TOOL("hivexsh");
    ASSERT_EQ(reg->setValue(HKLM, "SOFTWARE\\Bad\\Sub\\Deeper", "v", text("x")), RegStatus::Ok);
    ASSERT_EQ(reg->setValue(HKLM, "SOFTWARE\\Bad", "w", text("y")), RegStatus::Ok);
    ASSERT_EQ(reg->createKey(HKLM, "SOFTWARE\\Bad\\Other"), RegStatus::Ok);
    ASSERT_EQ(reg->createKey(HKLM, "SOFTWARE\\Badger"), RegStatus::Ok);
    EXPECT_EQ(reg->deleteKeyTree(HKLM, "software\\BAD"), RegStatus::Ok) << reg->lastError();
    EXPECT_EQ(reg->openKey(HKLM, "SOFTWARE\\Bad", 0x3F), RegStatus::NotFound);
    EXPECT_EQ(reg->openKey(HKLM, "SOFTWARE\\Bad\\Sub\\Deeper", 0x3F), RegStatus::NotFound);
    EXPECT_EQ(reg->openKey(HKLM, "SOFTWARE\\Badger", 0x3F), RegStatus::Ok);
    EXPECT_EQ(reg->deleteKeyTree(HKLM, "SOFTWARE\\Bad"), RegStatus::NotFound);
    auto listing = test::hivexsh(hive("SOFTWARE"), "ls\n");
    EXPECT_EQ(listing.out, "Badger\nClasses\nGr\xC3\xB6\xC3\x9F" "e\nMicrosoft\n");
    reopen();
    EXPECT_EQ(sz(HKLM, kRun, "Bad"), "c:\\bad\\bad.exe");
}

TEST_F(RegistryImage, RootsAndMappedKeysCannotBeDeleted) {
    const std::string before = test::readHostFile(hive("SOFTWARE")) + test::readHostFile(hive("SYSTEM")) +
                               test::readHostFile(hive("NTUSER.DAT")) + test::readHostFile(hive("UsrClass.dat"));
    const std::string sid = test::kTestSid;
    const std::pair<RootKey, std::string> refused[] = {
        {HKLM, ""},        {HKLM, "SOFTWARE"},  {HKLM, "system\\"},  {HKLM, "SYSTEM\\CurrentControlSet"},
        {HKCU, ""},        {HKCU, "Software\\Classes"}, {HKU, ""},  {HKU, sid},
        {HKU, sid + "_Classes"}, {HKU, ".DEFAULT"}, {HKCR, ""},   {HKCC, ""},
        {HKLM, "SAM"}};
    for (const auto& [root, path] : refused) {
        EXPECT_EQ(reg->deleteKeyTree(root, path), RegStatus::AccessDenied) << rootKeyName(root) << "\\" << path;
        EXPECT_FALSE(reg->lastError().empty());
    }
    EXPECT_EQ(before, test::readHostFile(hive("SOFTWARE")) + test::readHostFile(hive("SYSTEM")) +
                          test::readHostFile(hive("NTUSER.DAT")) + test::readHostFile(hive("UsrClass.dat")));
    EXPECT_EQ(reg->openKey(HKLM, "SYSTEM\\ControlSet002\\Services\\Cur", 0x3F), RegStatus::Ok);
    // Below a mapped key, deleting works as anywhere else.
    EXPECT_EQ(reg->deleteKeyTree(HKLM, "SYSTEM\\CurrentControlSet\\Services\\Cur"), RegStatus::Ok);
    EXPECT_EQ(reg->openKey(HKLM, "SYSTEM\\ControlSet002\\Services\\Cur", 0x3F), RegStatus::NotFound);
    EXPECT_EQ(reg->openKey(HKLM, "SYSTEM\\ControlSet002\\Services", 0x3F), RegStatus::Ok);
}

TEST_F(RegistryImage, NothingIsWrittenWhereNoHiveIsMounted) {
    EXPECT_EQ(reg->createKey(HKLM, "HARDWARE\\X"), RegStatus::AccessDenied);
    EXPECT_EQ(reg->setValue(HKLM, "", "v", text("x")), RegStatus::AccessDenied);
    EXPECT_EQ(reg->setValue(HKU, "S-1-5-18\\Software", "v", text("x")), RegStatus::AccessDenied);
    EXPECT_EQ(reg->deleteValue(HKLM, "", "v"), RegStatus::NotFound);
    EXPECT_EQ(reg->deleteKeyTree(HKLM, "HARDWARE"), RegStatus::NotFound);
    EXPECT_EQ(reg->subKeys(RootKey::LocalMachine, ""), (Names{"SOFTWARE", "SYSTEM", "SAM", "SECURITY"}));
}

TEST_F(RegistryImage, WritesThroughMappedRootsReachTheirHives) {
    REQUIRE_HIVEX_TOOL("hivexget");
    ASSERT_EQ(reg->setValue(HKCC, "Software\\Cfg", "Name", text("new")), RegStatus::Ok);
    EXPECT_EQ(test::hivexget(hive("SYSTEM"), "\\ControlSet002\\Hardware Profiles\\Current\\Software\\Cfg", "Name").out,
              "new\n");
    EXPECT_EQ(test::hivexget(hive("SYSTEM"), "\\ControlSet001\\Hardware Profiles\\Current\\Software\\Cfg", "Name").out,
              "stale\n");
    ASSERT_EQ(reg->setValue(HKLM, "SYSTEM\\CurrentControlSet\\Services\\New", "Start", {kRegDword, test::dwordBytes(2)}),
              RegStatus::Ok);
    EXPECT_EQ(test::hivexget(hive("SYSTEM"), "\\ControlSet002\\Services\\New", "Start").out, "2\n");
    ASSERT_EQ(reg->setValue(HKU, ".DEFAULT\\Software\\DefaultOnly", "v", text("d")), RegStatus::Ok);
    EXPECT_EQ(test::hivexget(hive("DEFAULT"), "\\Software\\DefaultOnly", "v").out, "d\n");
    ASSERT_EQ(reg->setValue(HKCU, "Software\\Classes\\Shared", "u", text("via HKCU")), RegStatus::Ok);
    EXPECT_EQ(test::hivexget(hive("UsrClass.dat"), "\\Shared", "u").out, "via HKCU\n");
}

TEST_F(RegistryImage, ClassesRootWritesGoWhereTheKeyIs) {
    REQUIRE_HIVEX_TOOL("hivexget");
    // Present in the user's classes (too): written there.
    ASSERT_EQ(reg->setValue(HKCR, "Shared", "Where", text("user")), RegStatus::Ok);
    EXPECT_EQ(test::hivexget(hive("UsrClass.dat"), "\\Shared", "Where").out, "user\n");
    EXPECT_NE(test::hivexget(hive("SOFTWARE"), "\\Classes\\Shared", "Where").status, 0);
    // Only the machine has it.
    ASSERT_EQ(reg->setValue(HKCR, "CLSID\\{M}", "Where", text("machine")), RegStatus::Ok);
    EXPECT_EQ(test::hivexget(hive("SOFTWARE"), "\\Classes\\CLSID\\{M}", "Where").out, "machine\n");
    // New keys: where more of the path exists; the machine on a tie.
    ASSERT_EQ(reg->createKey(HKCR, "CLSID\\{N}"), RegStatus::Ok);
    EXPECT_EQ(reg->openKey(HKLM, "SOFTWARE\\Classes\\CLSID\\{N}", 0x3F), RegStatus::Ok);
    ASSERT_EQ(reg->createKey(HKCR, "UserOnly\\Deep\\New"), RegStatus::Ok);
    EXPECT_EQ(reg->openKey(HKU, std::string(test::kTestSid) + "_Classes\\UserOnly\\Deep\\New", 0x3F), RegStatus::Ok);
    ASSERT_EQ(reg->createKey(HKCR, ".new"), RegStatus::Ok);
    EXPECT_EQ(reg->openKey(HKLM, "SOFTWARE\\Classes\\.new", 0x3F), RegStatus::Ok);
    // Deletes: the user's key first; then the machine's comes into view.
    ASSERT_EQ(reg->setValue(HKLM, "SOFTWARE\\Classes\\CLSID\\{U}", "", text("MachineU")), RegStatus::Ok);
    EXPECT_EQ(sz(HKCR, "CLSID\\{U}", ""), "User");
    ASSERT_EQ(reg->deleteKeyTree(HKCR, "CLSID\\{U}"), RegStatus::Ok);
    EXPECT_EQ(sz(HKCR, "CLSID\\{U}", ""), "MachineU");
    ASSERT_EQ(reg->deleteKeyTree(HKCR, "CLSID\\{U}"), RegStatus::Ok);
    EXPECT_EQ(reg->openKey(HKCR, "CLSID\\{U}", 0x3F), RegStatus::NotFound);
    ASSERT_EQ(reg->deleteValue(HKCR, "Shared", ""), RegStatus::Ok);
    EXPECT_EQ(sz(HKLM, "SOFTWARE\\Classes\\Shared", ""), "machine");
}

TEST_F(RegistryImage, LargeValuesAreRefusedWhereHivexWouldStoreThemWrongly) {
    const std::string big(20000, 'b');
    ASSERT_EQ(reg->setValue(HKLM, "SOFTWARE\\Big", "Blob", {kRegBinary, big}), RegStatus::Ok);  // format 1.3
    reopen();
    EXPECT_EQ(reg->queryValue(HKLM, "SOFTWARE\\Big", "Blob")->data, big);

    test::buildHive(hive("NTUSER.DAT"), {test::hiveSz("Software", "Small", "s")}, "ROOT", 5);
    reopen();
    const std::string before = test::readHostFile(hive("NTUSER.DAT"));
    EXPECT_EQ(reg->setValue(HKCU, "Software", "Blob", {kRegBinary, big}), RegStatus::Error);
    EXPECT_NE(reg->lastError().find("too large"), std::string::npos);
    EXPECT_EQ(test::readHostFile(hive("NTUSER.DAT")), before);
    EXPECT_FALSE(reg->queryValue(HKCU, "Software", "Blob"));
    EXPECT_EQ(reg->setValue(HKCU, "Software", "Blob", {kRegBinary, std::string(16344, 'b')}), RegStatus::Ok);
    EXPECT_EQ(sz(HKCU, "Software", "Small"), "s");
}

// A hive Windows left dirty (hibernation, fast start-up): the header's sequence numbers differ.
void makeDirty(const std::string& hivePath) {
    std::string bytes = test::readHostFile(hivePath);
    bytes[8] = static_cast<char>(bytes[8] + 1);  // secondary sequence number
    const uint32_t sum = regfHeaderChecksum(bytes.substr(0, 4096));
    for (int i = 0; i < 4; ++i) bytes[0x1FC + i] = static_cast<char>((sum >> (8 * i)) & 0xFF);
    std::ofstream(hivePath, std::ios::binary | std::ios::trunc) << bytes;
}

TEST_F(RegistryImage, ADirtyHiveIsReadButNeverWritten) {
    makeDirty(hive("SOFTWARE"));
    reopen();
    EXPECT_EQ(reg->dirtyHives(), std::vector<std::string>{hive("SOFTWARE")});
    EXPECT_EQ(sz(HKLM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Bad"), "c:\\bad\\bad.exe");
    const std::string before = test::readHostFile(hive("SOFTWARE"));
    EXPECT_EQ(reg->deleteValue(HKLM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Bad"),
              RegStatus::Error);
    EXPECT_NE(reg->lastError().find("shut it down fully"), std::string::npos) << reg->lastError();
    EXPECT_EQ(reg->deleteKeyTree(HKLM, "SOFTWARE\\Classes\\Shared"), RegStatus::Error);
    EXPECT_EQ(reg->setValue(HKLM, "SOFTWARE\\New", "v", {kRegSz, "x"}), RegStatus::Error);
    EXPECT_EQ(test::readHostFile(hive("SOFTWARE")), before);
    // The clean hives beside it are written as ever.
    EXPECT_EQ(reg->setValue(HKCU, "Software", "v", {kRegSz, "x"}), RegStatus::Ok);
    EXPECT_EQ(sz(HKCU, "Software", "v"), "x");
}

}  // namespace
}  // namespace vedozer
