#include <gtest/gtest.h>

#include "definitions/DefinitionRecords.h"
#include "support/FakeShellFolders.h"

namespace vedozer {
namespace {

class Records : public ::testing::Test {
protected:
    test::FakeShellFolders shell = test::FakeShellFolders::windowsXp("C:");
    LocationExpander ex = makeLocationExpander(shell);
};

TEST_F(Records, HiveNumbers) {
    const RootKey roots[] = {RootKey::ClassesRoot, RootKey::CurrentUser,   RootKey::LocalMachine,
                             RootKey::Users,       RootKey::CurrentConfig, RootKey::DynData};
    for (int i = 0; i <= 5; ++i) EXPECT_EQ(rootKeyFromNumber(std::to_string(i)), roots[i]);
    EXPECT_EQ(rootKeyFromNumber(" 2 "), RootKey::LocalMachine);
    EXPECT_EQ(rootKeyFromNumber("02"), RootKey::LocalMachine);
    for (const char* bad : {"", " ", "6", "7", "-1", "x", "2x", "1.0", "99999999999999999999", "+", "0x1"})
        EXPECT_FALSE(rootKeyFromNumber(bad)) << bad;
    EXPECT_EQ(hiveNameFromNumber("4"), "HKEY_CURRENT_CONFIG");
    EXPECT_EQ(hiveNameFromNumber("5"), "HKEY_DYN_DATA");
    EXPECT_EQ(hiveNameFromNumber("8"), "");
}

TEST_F(Records, RegistryValueDefinition) {
    auto d = parseRegistryDefinition("2^Software\\Bad^Start=BadThing|Hijacker", ex);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->root, RootKey::LocalMachine);
    EXPECT_EQ(d->rootName, "HKEY_LOCAL_MACHINE");
    EXPECT_EQ(d->keyPath, "Software\\Bad");
    EXPECT_EQ(d->valueName, "Start");
    EXPECT_EQ(d->spywareName, "BadThing");
    EXPECT_EQ(d->type, "Hijacker");
    EXPECT_FALSE(d->isKey());
    EXPECT_EQ(d->displayPath(), "HKEY_LOCAL_MACHINE\\Software\\BadStart");
    EXPECT_EQ(d->keyDisplayPath(), "HKEY_LOCAL_MACHINE\\Software\\Bad");
}

TEST_F(Records, RegistryKeyDefinitionAndUnknownHives) {
    auto d = parseRegistryDefinition("2^Software\\AdBuddy^=AdBuddy Toolbar", ex);
    ASSERT_TRUE(d);
    EXPECT_TRUE(d->isKey());
    EXPECT_EQ(d->displayPath(), "HKEY_LOCAL_MACHINE\\Software\\AdBuddy");
    EXPECT_EQ(d->type, "");
    EXPECT_FALSE(parseRegistryDefinition("7^Software\\AdBuddy^=AdBuddy Toolbar", ex));
    EXPECT_FALSE(parseRegistryDefinition(" ^Software\\AdBuddy^=AdBuddy Toolbar", ex));
    EXPECT_FALSE(parseRegistryDefinition("HKLM^Software\\AdBuddy^=AdBuddy Toolbar", ex));
    EXPECT_FALSE(parseRegistryDefinition("2^Software\\AdBuddy=AdBuddy Toolbar", ex));  // two fields
    EXPECT_FALSE(parseRegistryDefinition("2^Software\\AdBuddy^Value", ex));            // no "="
    EXPECT_FALSE(parseRegistryDefinition("", ex));
    auto blanks = parseRegistryDefinition(" 1 ^ Software\\X ^=N", ex);
    ASSERT_TRUE(blanks);
    EXPECT_EQ(blanks->root, RootKey::CurrentUser);
    EXPECT_EQ(blanks->keyPath, " Software\\X ");  // kept as written
}

TEST_F(Records, RegistrySplitsAtTheLastEquals) {
    auto d = parseRegistryDefinition("0^CLSID\\a=b^x=y=Spy Name", ex);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->keyPath, "CLSID\\a=b");
    EXPECT_EQ(d->valueName, "x=y");
    EXPECT_EQ(d->spywareName, "Spy Name");
}

TEST_F(Records, RegistrySpywarePartIsTrimmedThenSplit) {
    auto d = parseRegistryDefinition("1^K^V=  Coupon Rocket | Adware |more  ", ex);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->spywareName, "Coupon Rocket ");
    EXPECT_EQ(d->type, " Adware ");
    auto extra = parseRegistryDefinition("1^K^V^ignored=N", ex);
    ASSERT_TRUE(extra);
    EXPECT_EQ(extra->valueName, "V");
}

TEST_F(Records, RegistryTokensAndBackslashes) {
    auto d = parseRegistryDefinition(
        "2^Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs^[progfil]\\AdBuddy\\\\ab.dll=AdBuddy",
        ex);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->valueName, "C:\\Program Files\\AdBuddy\\ab.dll");
    auto drive = parseRegistryDefinition("2^Software\\\\Bad^[drive]x.exe=N", ex);
    ASSERT_TRUE(drive);
    EXPECT_EQ(drive->keyPath, "Software\\\\Bad");  // the key path keeps its backslashes
    EXPECT_EQ(drive->valueName, "C:\\x.exe");
}

TEST_F(Records, FileDefinitionWithDriveToken) {
    auto d = parseFileDefinition("foo.dll=BadThing|[drive]WINDOWS\\\\system32", ex);
    EXPECT_EQ(d.item, "foo.dll");
    EXPECT_EQ(d.spywareName, "BadThing");
    EXPECT_EQ(d.location, "C:\\WINDOWS\\system32");
    EXPECT_EQ(d.path, "C:\\WINDOWS\\system32\\foo.dll");
    EXPECT_EQ(d.type, "");
}

TEST_F(Records, FileDefinitionFields) {
    auto d = parseFileDefinition("  adbuddy.exe  = AdBuddy Toolbar|[progfil]\\AdBuddy|Adware|extra", ex);
    EXPECT_EQ(d.item, "adbuddy.exe");
    EXPECT_EQ(d.spywareName, " AdBuddy Toolbar");
    EXPECT_EQ(d.type, "Adware");
    EXPECT_EQ(d.path, "C:\\Program Files\\AdBuddy\\adbuddy.exe");
    auto trailing = parseFileDefinition("x.dat=N|C:\\dir\\", ex);
    EXPECT_EQ(trailing.path, "C:\\dir\\x.dat");
    auto four = parseFileDefinition("x.dat=N|C:\\\\\\\\dir", ex);
    EXPECT_EQ(four.path, "C:\\dir\\x.dat");
}

TEST_F(Records, FileDefinitionWithoutBarIsALiteralPath) {
    auto d = parseFileDefinition("[windir]\\evil.exe=Evil", ex);
    EXPECT_EQ(d.path, "[windir]\\evil.exe");
    EXPECT_EQ(d.location, "");
    auto literal = parseFileDefinition("C:\\\\Temp\\\\x.exe=N", ex);
    EXPECT_EQ(literal.path, "C:\\Temp\\x.exe");
}

TEST_F(Records, FileDefinitionOddLines) {
    auto noName = parseFileDefinition("x.exe|[windir]", ex);
    EXPECT_EQ(noName.item, "x.exe");
    EXPECT_EQ(noName.spywareName, "");
    EXPECT_EQ(noName.path, "C:\\WINDOWS\\x.exe");
    auto recycle = parseFileDefinition("bad.exe=X|[recycle]", ex);
    EXPECT_EQ(recycle.path, "bad.exe");
    auto blank = parseFileDefinition("", ex);
    EXPECT_EQ(blank.path, "");
}

TEST_F(Records, DirectoryDefinition) {
    auto d = parseDirectoryDefinition(" Ad\tBud\r\ndy\r =AdBuddy Toolbar|[progfil]\\AdBuddy|Adware", ex);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->label, "AdBuddy");
    EXPECT_EQ(d->spywareName, "AdBuddy Toolbar");
    EXPECT_EQ(d->type, "Adware");
    EXPECT_EQ(d->path, "C:\\Program Files\\AdBuddy");
    auto drive = parseDirectoryDefinition("x=Y|[drive]CouponRocket\\\\data", ex);
    ASSERT_TRUE(drive);
    EXPECT_EQ(drive->path, "C:\\CouponRocket\\data");
    EXPECT_FALSE(parseDirectoryDefinition("AdBuddy=AdBuddy Toolbar", ex));
    EXPECT_FALSE(parseDirectoryDefinition("AdBuddy=AdBuddy Toolbar|", ex));
    EXPECT_FALSE(parseDirectoryDefinition("AdBuddy=AdBuddy Toolbar|[recycle]|Adware", ex));
}

TEST_F(Records, ExeDefinition) {
    auto d = parseExeDefinition("adbuddy.exe=AdBuddy Toolbar|[progfil]\\AdBuddy", ex);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->fileName, "adbuddy.exe");
    EXPECT_EQ(d->spywareName, "AdBuddy Toolbar");
    EXPECT_EQ(d->path, "C:\\Program Files\\AdBuddy\\adbuddy.exe");
    auto drive = parseExeDefinition("x.exe=N|[drive]dir", ex);
    ASSERT_TRUE(drive);
    EXPECT_EQ(drive->path, "[drive]dir\\x.exe");  // not replaced in this file
    auto noBar = parseExeDefinition("x.exe=[windir]", ex);
    ASSERT_TRUE(noBar);
    EXPECT_EQ(noBar->path, "C:\\WINDOWS\\x.exe");
    auto moreEquals = parseExeDefinition("x.exe=A|[system]=junk", ex);
    ASSERT_TRUE(moreEquals);
    EXPECT_EQ(moreEquals->path, "C:\\WINDOWS\\system32\\x.exe");
    EXPECT_FALSE(parseExeDefinition("x.exe|[system]", ex));
}

TEST_F(Records, SafetyFileEntries) {
    auto s = parseSafetyLine("SFILE|kernel32.dll|[system]\\kernel32.dll", "", ex);
    EXPECT_EQ(s.type, "SFILE");
    EXPECT_EQ(s.entry, "C:\\WINDOWS\\system32\\kernel32.dll");
    EXPECT_EQ(parseSafetyLine("SEXE| explorer.exe =Shell|", "", ex).entry, "explorer.exe");
    EXPECT_EQ(parseSafetyLine("SDLL|a\\\\b|", "", ex).entry, "a\\\\b");  // the name-only entry is left as is
    EXPECT_EQ(parseSafetyLine("SDLL|x|http:////host//a\\\\\\\\b|unused", "", ex).entry, "http://host/a\\b");
    EXPECT_EQ(parseSafetyLine("SFILE|x|[drive]boot.ini", "", ex).entry, "C:\\boot.ini");
}

TEST_F(Records, SafetyRegistryEntries) {
    EXPECT_EQ(parseSafetyLine("SREG|Run|2^Software\\Vendor^", "", ex).entry,
              "HKEY_LOCAL_MACHINE\\Software\\Vendor\\");
    EXPECT_EQ(parseSafetyLine("SREG|Run|1^Software\\Vendor", "", ex).entry,
              "HKEY_CURRENT_USER\\Software\\Vendor");
    EXPECT_EQ(parseSafetyLine("SREG|Run|0^CLSID^Value", "", ex).entry, "HKEY_CLASSES_ROOT\\CLSID\\Value");
    EXPECT_EQ(parseSafetyLine("SREG|Run|9^Software\\Vendor^V", "", ex).entry, "\\Software\\Vendor\\V");
    EXPECT_EQ(parseSafetyLine("SREG|Run|2^Software\\\\\\\\Vendor", "", ex).entry,
              "HKEY_LOCAL_MACHINE\\Software\\Vendor");
    EXPECT_FALSE(parseSafetyLine("SREG|Run|", "", ex).entry);
}

TEST_F(Records, SafetyFolderAndOtherTypes) {
    EXPECT_EQ(parseSafetyLine("SDIR|Fonts|[fonts]", "", ex).entry, "C:\\WINDOWS\\Fonts\\");
    EXPECT_EQ(parseSafetyLine("SDIR|Nothing|", "", ex).entry, "");
    auto lower = parseSafetyLine("sfile|kernel32.dll|[system]\\kernel32.dll", "", ex);
    EXPECT_EQ(lower.type, "sfile");
    EXPECT_FALSE(lower.entry);
    EXPECT_FALSE(parseSafetyLine("SFILE |x|y", "", ex).entry);
    EXPECT_FALSE(parseSafetyLine("COMMENT|x|y", "", ex).entry);
}

TEST_F(Records, SafetyLineWithoutBarTakesThePreviousType) {
    auto first = parseSafetyLine("user32.dll", "", ex);
    EXPECT_EQ(first.type, "");
    EXPECT_FALSE(first.entry);
    auto named = parseSafetyLine(" user32.dll = Windows ", "SDLL", ex);
    EXPECT_EQ(named.type, "SDLL");
    EXPECT_EQ(named.entry, "user32.dll");
    auto dir = parseSafetyLine("[windir]", "SDIR", ex);
    EXPECT_EQ(dir.entry, "");  // no location
    EXPECT_FALSE(parseSafetyLine("2^Software", "SREG", ex).entry);
}

}  // namespace
}  // namespace vedozer
