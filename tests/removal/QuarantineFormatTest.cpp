#include <gtest/gtest.h>

#include "removal/Quarantine.h"
#include "removal/QuarantineIndex.h"
#include "removal/QuarantineLog.h"
#include "removal/RegistryBackup.h"

namespace vedozer {
namespace {

namespace qi = quarantine_index;

QuarantineEntry sample(uint64_t id, QuarantineKind kind = QuarantineKind::File) {
    QuarantineEntry e;
    e.id = id;
    e.kind = kind;
    e.time = "2026-12-08 15:04:05";
    e.storedName = "a (2).exe";
    e.location = "C:\\Program Files\\Ad\tTab\\a.exe";
    e.valueName = "back\\slash\r\nline";
    e.spywareName = "AdBuddy";
    return e;
}

TEST(QuarantineIndexFormat, EscapesRoundTripEveryAwkwardCharacter) {
    std::string raw = "a\\b\tc\rd\ne\\t";
    EXPECT_EQ(qi::escapeField(raw), "a\\\\b\\tc\\rd\\ne\\\\t");
    EXPECT_EQ(qi::unescapeField(qi::escapeField(raw)), raw);
    EXPECT_FALSE(qi::unescapeField("dangling\\"));
    EXPECT_FALSE(qi::unescapeField("bad\\x"));
}

TEST(QuarantineIndexFormat, EntriesRoundTripAndLaterRecordsApply) {
    std::string text = qi::formatEntry(sample(1)) + qi::formatEntry(sample(2, QuarantineKind::RegistryKey)) +
                       qi::formatWithdrawn(1, "t1") + qi::formatRestored(2, "t2");
    EXPECT_NE(text.find("\r\n"), std::string::npos);
    auto entries = qi::parse(text);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].location, sample(1).location);
    EXPECT_EQ(entries[0].valueName, sample(1).valueName);
    EXPECT_EQ(entries[0].storedName, "a (2).exe");
    EXPECT_TRUE(entries[0].withdrawn);
    EXPECT_FALSE(entries[0].restored);
    EXPECT_EQ(entries[1].kind, QuarantineKind::RegistryKey);
    EXPECT_TRUE(entries[1].restored);
    EXPECT_EQ(entries[1].restoredTime, "t2");
}

TEST(QuarantineIndexFormat, IgnoresLinesCutShortDuplicatesAndUnsafeNames) {
    std::string good = qi::formatEntry(sample(1));
    std::string cut = qi::formatEntry(sample(2));
    cut = cut.substr(0, cut.size() - 5);  // "$" and the line end lost
    auto unsafe = sample(3);
    unsafe.storedName = "..";
    auto sneaky = sample(4);
    sneaky.storedName = "..\\..\\etc\\passwd";
    // A crash left the second record unfinished; the next writer started a new line.
    std::string text = good + cut + "\r\n" + qi::formatEntry(sample(1)) + qi::formatEntry(unsafe) +
                       qi::formatEntry(sneaky) + qi::formatEntry(sample(5)) + qi::formatRestored(9, "x");
    auto entries = qi::parse(text);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].id, 1u);
    EXPECT_EQ(entries[1].id, 5u);
    // A last line without its line end is not trusted either.
    auto last = qi::formatEntry(sample(7));
    EXPECT_EQ(qi::parse(good + last.substr(0, last.size() - 2)).size(), 1u);
}

TEST(QuarantineNames, NumberedNamesKeepTheExtension) {
    EXPECT_EQ(Quarantine::numberedName("a.exe", 2), "a (2).exe");
    EXPECT_EQ(Quarantine::numberedName("archive.tar.gz", 3), "archive.tar (3).gz");
    EXPECT_EQ(Quarantine::numberedName("Folder", 2), "Folder (2)");
    EXPECT_EQ(Quarantine::numberedName(".hidden", 2), ".hidden (2)");
    EXPECT_TRUE(Quarantine::isReservedName("quarantinelog.TXT"));
    EXPECT_TRUE(Quarantine::isReservedName("QuarantineIndex.txt"));
    EXPECT_TRUE(Quarantine::isReservedName("RestorePoint-2026-12-08-001"));
    EXPECT_FALSE(Quarantine::isReservedName("RestorePoint-2026-12-08-001 (2)"));
    EXPECT_FALSE(Quarantine::isReservedName("a.exe"));
}

TEST(QuarantineLogFormat, RecordsAndTimeStamps) {
    LocalTime t{2026, 12, 8, 15, 4, 5, 2};
    EXPECT_EQ(generalDateTime(t), "12/8/2026 3:04:05 PM");
    EXPECT_EQ(generalDateTime(LocalTime{2026, 1, 2, 0, 0, 0, 0}), "1/2/2026");
    EXPECT_EQ(generalDateTime(LocalTime{2026, 1, 2, 0, 0, 1, 0}), "1/2/2026 12:00:01 AM");
    EXPECT_EQ(generalDateTime(LocalTime{2026, 1, 2, 12, 30, 0, 0}), "1/2/2026 12:30:00 PM");
    EXPECT_EQ(isoDateTime(t), "2026-12-08 15:04:05");
    EXPECT_EQ(formatFileRecord("S", "a.exe", "C:\\x\\a.exe"), "S - File: a.exe\r\n - Location: C:\\x\\a.exe\r\n\r\n\r\n");
    EXPECT_EQ(formatRegistryRecord("S", "HKEY_CURRENT_USER\\Software\\Ad", ""),
              "S - Key: HKEY_CURRENT_USER\\Software\\Ad\r\nValue: \r\n\r\n\r\n");
}

TEST(RegistryBackupFormat, RoundTripsKeysAndEveryKindOfData) {
    RegistryBackup b;
    b.root = RootKey::CurrentUser;
    b.keyPath = "Software\\Ad\tWare";
    b.wholeKey = true;
    b.keys = {"", "Sub", "Sub\\Deeper", "Empty"};
    b.values = {{"", "", {kRegSz, std::string("text\0", 5)}},
                {"Sub", "bin", {kRegBinary, std::string("\0\x01\xff\r\n", 5)}},
                {"Sub\\Deeper", "multi", {kRegMultiSz, std::string("a\0b\0\0", 5)}},
                {"Sub\\Deeper", "odd type", {0x12345, "x"}}};
    auto parsed = parseRegistryBackup(formatRegistryBackup(b));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->root, b.root);
    EXPECT_EQ(parsed->keyPath, b.keyPath);
    EXPECT_TRUE(parsed->wholeKey);
    EXPECT_EQ(parsed->keys, b.keys);
    ASSERT_EQ(parsed->values.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(parsed->values[i].keyPath, b.values[i].keyPath);
        EXPECT_EQ(parsed->values[i].name, b.values[i].name);
        EXPECT_EQ(parsed->values[i].value, b.values[i].value);
    }
}

TEST(RegistryBackupFormat, RejectsDamagedText) {
    RegistryBackup b;
    b.keyPath = "Software\\Ad";
    b.values = {{"", "v", {kRegDword, std::string("\1\0\0\0", 4)}}};
    std::string text = formatRegistryBackup(b);
    ASSERT_TRUE(parseRegistryBackup(text));
    EXPECT_FALSE(parseRegistryBackup(text.substr(0, text.find("end"))));  // cut short
    std::string badHex = text;
    badHex.replace(badHex.find("01000000"), 8, "0100000");
    EXPECT_FALSE(parseRegistryBackup(badHex));
    EXPECT_FALSE(parseRegistryBackup("something else\r\n"));
    std::string trailing = text + "V\t\tx\t1\t00\r\n";
    EXPECT_FALSE(parseRegistryBackup(trailing));
}

TEST(QuarantineIndexFormat, TheSystemOfAnEntryIsKeptBesideItAndOlderEntriesStillRead) {
    QuarantineEntry e;
    e.id = 7;
    e.time = "2026-01-02 03:04:05";
    e.storedName = "a.exe";
    e.location = "C:\\a.exe";
    TargetIdentity here{"C=/mnt/win", "/mnt/win/Windows/System32/config/SOFTWARE", "Windows 7", "2011-03-13T07:06:40Z", "bob"};
    std::string text = qi::formatEntry(e) + qi::formatTarget(7, here);
    EXPECT_EQ(text.substr(text.find("\r\nT\t")), "\r\nT\t7\tC=/mnt/win\t/mnt/win/Windows/System32/config/SOFTWARE\t"
                                               "Windows 7\t2011-03-13T07:06:40Z\tbob\t$\r\n");
    auto entries = qi::parse(text + qi::formatEntry([] { QuarantineEntry old; old.id = 8; old.storedName = "b"; return old; }()));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].target, here);
    EXPECT_TRUE(entries[1].target.empty()) << "an entry written before systems were recorded";
    EXPECT_EQ(entries[1].target.describe(), "(not recorded)");

    EXPECT_TRUE(sameInstallation(here, here));
    TargetIdentity copy = here;
    copy.softwareHive = "/media/copy/Windows/System32/config/SOFTWARE";
    EXPECT_FALSE(sameInstallation(here, copy)) << "a copy elsewhere is another target";
    TargetIdentity reinstalled = here;
    reinstalled.installDate = "2020-01-01T00:00:00Z";
    EXPECT_FALSE(sameInstallation(here, reinstalled));
    EXPECT_FALSE(sameInstallation(here, TargetIdentity{}));
}

}  // namespace
}  // namespace vedozer
