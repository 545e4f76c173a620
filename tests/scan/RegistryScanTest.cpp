#include <gtest/gtest.h>

#include <fstream>

#include "ScanImage.h"
#include "platform/image/ImageRegistry.h"
#include "scan/RegistryScan.h"
#include "support/FakePlatform.h"

namespace vedozer {
namespace {

using test::hiveBinary;
using test::hiveDword;
using test::hiveExpandSz;
using test::hiveKey;
using test::hiveMultiSz;
using test::hiveSz;
using test::ScanImage;

ScanImage registryImage() {
    return ScanImage({hiveSz("Bad", "Start", "run.exe"), hiveBinary("Bad", "Blob", std::string("\x01\x02", 2)),
                      hiveDword("Bad", "Num", 5), hiveExpandSz("Bad", "Path", "%windir%\\x"),
                      hiveMultiSz("Bad", "Multi", {"a", "b"}), hiveSz("Bad", "V=1", "eq"),
                      hiveKey("BadKey\\Sub"), hiveSz("Excl", "A", "x"), hiveSz("Excl", "B", "y")},
                     {hiveSz("Software\\Tracker", "Id", "42")});
}

TEST(RegistryScan, ValuesOfStringAndNumberTypesCount) {
    ScanImage img = registryImage();
    Registry& reg = *img.platform().registry;
    EXPECT_EQ(RegistryValueExists(reg, RootKey::LocalMachine, "Software\\Bad", "Start"), "run.exe");
    EXPECT_EQ(RegistryValueExists(reg, RootKey::LocalMachine, "software\\bad", "start"), "run.exe");
    EXPECT_EQ(RegistryValueExists(reg, RootKey::LocalMachine, "Software\\Bad", "Num"), "5");
    EXPECT_EQ(RegistryValueExists(reg, RootKey::LocalMachine, "Software\\Bad", "Path"), "%windir%\\x");
    EXPECT_FALSE(RegistryValueExists(reg, RootKey::LocalMachine, "Software\\Bad", "Blob"));
    EXPECT_FALSE(RegistryValueExists(reg, RootKey::LocalMachine, "Software\\Bad", "Multi"));
    EXPECT_FALSE(RegistryValueExists(reg, RootKey::LocalMachine, "Software\\Bad", "Missing"));
    EXPECT_FALSE(RegistryValueExists(reg, RootKey::LocalMachine, "Software\\Nothing", "Start"));
    EXPECT_TRUE(RegistryKeyExists(reg, RootKey::LocalMachine, "Software\\BadKey\\Sub"));
    EXPECT_FALSE(RegistryKeyExists(reg, RootKey::LocalMachine, "Software\\BadKey\\None"));
    EXPECT_EQ(RegistryValueExists(reg, RootKey::CurrentUser, "Software\\Tracker", "Id"), "42");
}

TEST(RegistryScan, DefinitionsOfValuesAndKeys) {
    ScanImage img = registryImage();
    img.option(skey::scanCookies, "0");
    img.option(skey::scanMemory, "False");
    img.definitionFile(kRegistryDefinitionFile, {
                                                    "2^Software\\Bad^Start=BadThing|Hijacker",
                                                    "2^Software\\Bad^Blob=BlobThing",
                                                    "2^Software\\Bad^Num=badthing|Ignored type",
                                                    "2^Software\\Bad^V=1=EqThing",
                                                    "2^Software\\BadKey^=KeyThing|Key type",
                                                    " 2 ^ Software\\BadKey\\Sub ^=",
                                                    "2^Software\\Bad^Path=",
                                                    "7^Software\\Bad^Start=Seven",
                                                    "x^Software\\Bad^Start=NotANumber",
                                                    "^Software\\Bad^Start=EmptyRoot",
                                                    "2^Software\\Bad=TooFewFields",
                                                    "1^Software\\Tracker^Id=UserThing",
                                                });
    img.scan();
    EXPECT_EQ(img.counters.registryInspected, 8);  // lines 1 to 7 and 12

    const auto& work = img.results.registryDetections();
    ASSERT_EQ(work.size(), 7u);
    const std::string hklm = "-2147483646";
    EXPECT_EQ(work[0], (RegistryWorkRow{hklm, "Software\\Bad", "Start", "BadThing"}));
    EXPECT_EQ(work[1], (RegistryWorkRow{hklm, "Software\\Bad", "Num", "badthing"}));
    EXPECT_EQ(work[2], (RegistryWorkRow{hklm, "Software\\Bad", "V=1", "EqThing"}));
    EXPECT_EQ(work[3], (RegistryWorkRow{hklm, "Software\\BadKey", "", "KeyThing"}));
    EXPECT_EQ(work[4], (RegistryWorkRow{hklm, " Software\\BadKey\\Sub ", "", ""}));  // blanks kept
    EXPECT_EQ(work[5], (RegistryWorkRow{hklm, "Software\\Bad", "Path", ""}));
    EXPECT_EQ(work[6], (RegistryWorkRow{"-2147483647", "Software\\Tracker", "Id", "UserThing"}));
    EXPECT_EQ(img.results.traces(), 7);

    const auto& rows = img.results.removalList();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], (ThreatRecord{"BadThing", "HKEY_LOCAL_MACHINE\\Software\\BadStart", "Hijacker", kIconRegistry, false}));
    EXPECT_EQ(rows[1], (ThreatRecord{"EqThing", "HKEY_LOCAL_MACHINE\\Software\\BadV=1", "", kIconRegistry, false}));
    EXPECT_EQ(rows[2], (ThreatRecord{"KeyThing", "HKEY_LOCAL_MACHINE\\Software\\BadKey", "Key type", kIconRegistry, false}));
    EXPECT_EQ(rows[3].name, " Software\\BadKey\\Sub ");
    EXPECT_EQ(rows[3].location, "HKEY_LOCAL_MACHINE\\ Software\\BadKey\\Sub ");
    EXPECT_EQ(rows[4].name, "UserThing");
    EXPECT_EQ(img.foundTexts(), (std::vector<std::string>{"BadThing - Found", "EqThing - Found", "KeyThing - Found",
                                                          "RegKey  Software\\BadKey\\Sub  - Found", "UserThing - Found"}));
    EXPECT_EQ(img.results.foundList()[3].icon, kIconNone);
    EXPECT_EQ(img.counters.softwareFound, 5);
    EXPECT_FALSE(img.results.skippedNotes().empty());
}

TEST(RegistryScan, ExcludingAKeyPathExcludesItsValuesAndLaterStagesKeepFindingTraces) {
    ScanImage img = registryImage();
    img.option(skey::scanCookies, "0");
    img.option(skey::scanMemory, "False");
    img.exclusionFile({"HKEY_LOCAL_MACHINE\\Software\\Excl"});
    img.definitionFile(kRegistryDefinitionFile, {"2^Software\\Excl^A=ExThing", "2^Software\\Excl^B=ExThing",
                                                 "2^Software\\Bad^Start=BadThing"});
    img.definitionFile(kFileDefinitionFile, {"bad.dll=BADTHING|[drive]App"});
    img.write("App/bad.dll", "x");
    img.scan();
    EXPECT_EQ(img.foundTexts(), (std::vector<std::string>{"EXCLUDED: HKEY_LOCAL_MACHINE\\Software\\ExclA",
                                                          "EXCLUDED: HKEY_LOCAL_MACHINE\\Software\\ExclB",
                                                          "BadThing - Found"}));
    // The file stage finds a name the registry stage listed: a trace and a work row, no new rows.
    EXPECT_EQ(img.results.removalList().size(), 1u);
    EXPECT_EQ(img.results.fileDetections().size(), 1u);
    EXPECT_EQ(img.results.traces(), 2);
    EXPECT_EQ(img.counters.softwareFound, 1);
}

TEST(RegistryScan, SafeListEntriesAreSkipped) {
    ScanImage img = registryImage();
    img.onlyFiles();
    img.option(skey::scanRegistry, "True");
    img.definitionFile(kSafetyFile, {"SREG|x|2^Software\\BadKey"});
    img.definitionFile(kRegistryDefinitionFile, {"2^Software\\BadKey^=KeyThing", "2^Software\\Bad^Num=NumThing"});
    img.scan();
    ASSERT_EQ(img.results.removalList().size(), 1u);
    EXPECT_EQ(img.results.removalList()[0].name, "NumThing");
}

}  // namespace
}  // namespace vedozer

namespace vedozer {
namespace {

// Spoils the record of the key whose name is first found in the hive, so the library refuses to
// list the sub keys of its parent (as it refuses keys with very many sub keys).
void spoilKeyRecord(const std::string& hivePath, const std::string& keyName) {
    std::string content = test::readHostFile(hivePath);
    size_t name = content.find(keyName);
    ASSERT_NE(name, std::string::npos);
    content.replace(name - 0x4C, 2, "xx");  // the key record's signature
    std::ofstream(hivePath, std::ios::binary | std::ios::trunc) << content;
}

TEST(RegistryScan, AKeyThatCannotBeListedIsNamedAsNotCheckedNeverSkippedSilently) {
    ScanImage img = registryImage();
    img.onlyFiles();
    img.option(skey::scanRegistry, "True");
    spoilKeyRecord(img.drive + "/Windows/System32/config/SOFTWARE", "Sub");
    dynamic_cast<ImageRegistry&>(*img.platform().registry).closeHives();
    img.definitionFile(kRegistryDefinitionFile, {"2^Software\\BadKey\\Sub^Run=Hidden", "2^Software\\BadKey\\Sub^=Hidden",
                                                 "2^Software\\BadKey\\Sub\\Deeper^X=Hidden", "2^Software\\Bad^Num=Found"});
    img.scan();
    // What could be read is found; what could not is named once, with the key that refused.
    ASSERT_EQ(img.results.removalList().size(), 1u);
    EXPECT_EQ(img.results.removalList()[0].name, "Found");
    ASSERT_EQ(img.results.uncheckedLocations().size(), 1u) << img.results.uncheckedLocations()[1];
    const std::string& location = img.results.uncheckedLocations()[0];
    EXPECT_EQ(location.rfind("HKEY_LOCAL_MACHINE\\Software\\BadKey: its sub keys cannot be listed", 0), 0u) << location;
    ASSERT_EQ(img.host.notices.size(), 1u);
    EXPECT_EQ(img.host.notices[0].kind, NoticeKind::Warning);
    EXPECT_EQ(img.host.notices[0].text, location);
    EXPECT_NE(img.report().find("[Locations Not Checked]\r\n\r\n" + location + "\r\n"), std::string::npos) << img.report();
}

}  // namespace
}  // namespace vedozer

namespace vedozer {
namespace {

// A registry as a user without administrator rights sees it: the locked keys can be read but not
// opened for changes.
class ReadOnlyForUser : public test::MemoryRegistry {
public:
    RegStatus openKey(RootKey root, const std::string& path, uint32_t mask) override {
        RegStatus s = MemoryRegistry::openKey(root, path, mask);
        return s == RegStatus::Ok && text::toUpper(path) == locked ? RegStatus::AccessDenied : s;
    }
    std::string locked;
};

TEST(RegistryScan, AKeyThatRefusesAccessIsNotCheckedRatherThanAbsent) {
    ReadOnlyForUser reg;
    reg.setValue(RootKey::LocalMachine, "Software\\Bad", "Run", RegistryValue{kRegSz, std::string("x\0", 2)});
    reg.setValue(RootKey::LocalMachine, "Software\\Open", "Run", RegistryValue{kRegSz, std::string("y\0", 2)});
    reg.locked = "SOFTWARE\\BAD";
    std::string unreadable;
    EXPECT_FALSE(RegistryValueExists(reg, RootKey::LocalMachine, "Software\\Bad", "Run", &unreadable));
    EXPECT_EQ(unreadable, "HKEY_LOCAL_MACHINE\\Software\\Bad: access denied");
    unreadable.clear();
    EXPECT_FALSE(RegistryKeyExists(reg, RootKey::LocalMachine, "Software\\Bad", &unreadable));
    EXPECT_EQ(unreadable, "HKEY_LOCAL_MACHINE\\Software\\Bad: access denied");
    // What is there is found and what is not stays silently absent.
    unreadable.clear();
    EXPECT_EQ(RegistryValueExists(reg, RootKey::LocalMachine, "Software\\Open", "Run", &unreadable), "y");
    EXPECT_FALSE(RegistryKeyExists(reg, RootKey::LocalMachine, "Software\\Gone", &unreadable));
    EXPECT_FALSE(RegistryValueExists(reg, RootKey::LocalMachine, "Software\\Open", "Gone", &unreadable));
    EXPECT_EQ(unreadable, "");
}

}  // namespace
}  // namespace vedozer
