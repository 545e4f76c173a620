#include <gtest/gtest.h>
#include "scan/ThreatSummary.h"

#include "scan/ScanResults.h"

namespace vedozer {
namespace {

TEST(ScanResults, TwoDetectionsOfOneNameGiveOneRowAndTwoTraces) {
    ScanResults r;
    ScanCounters c;
    r.addFileDetection("C:\\a\\one.dll", "BadThing");
    EXPECT_TRUE(r.listThreat("BadThing", "C:\\a\\one.dll", "Adware", kIconFile, c));
    r.addFileDetection("C:\\b\\two.dll", "BadThing");
    EXPECT_FALSE(r.listThreat("BadThing", "C:\\b\\two.dll", "", kIconFile, c));
    EXPECT_EQ(r.traces(), 2);
    EXPECT_EQ(c.softwareFound, 1);
    ASSERT_EQ(r.removalList().size(), 1u);
    EXPECT_EQ(r.removalList()[0], (ThreatRecord{"BadThing", "C:\\a\\one.dll", "Adware", kIconFile, false}));
    ASSERT_EQ(r.foundList().size(), 1u);
    EXPECT_EQ(r.foundList()[0].text, "BadThing - Found");
    EXPECT_EQ(r.fileDetections().size(), 2u);
}

TEST(ScanResults, AlreadyFoundIsAPrefixTestIgnoringCase) {
    ScanResults r;
    r.addFoundRow("BadThing - Found", kIconRegistry);
    EXPECT_TRUE(r.isAlreadyFound("badthing"));
    EXPECT_TRUE(r.isAlreadyFound("BADTHING"));
    EXPECT_FALSE(r.isAlreadyFound("BadThing2"));
    EXPECT_FALSE(r.isAlreadyFound("Bad"));  // "Bad - Found" is not a prefix of the row
    // The row only has to begin with name + " - Found".
    r.addFoundRow("Other - Found and more", kIconFile);
    EXPECT_TRUE(r.isAlreadyFound("other"));
    // Rows of other shapes do not count as found names.
    r.addExcluded(DetectionKind::File, "C:\\x.dll");
    r.addFoundRow("Cookie Found: user@ads[1].txt", kIconCookie);
    r.addFoundRow("Detected in the memory : bad.exe was stopped from running.", kIconFile);
    EXPECT_FALSE(r.isAlreadyFound("bad.exe"));
    EXPECT_FALSE(r.isAlreadyFound("Cookie"));
    EXPECT_EQ(r.foundList()[2], (FoundRow{"EXCLUDED: C:\\x.dll", kIconExcluded, false}));
    // An empty name matches a row beginning with " - Found" only.
    EXPECT_FALSE(r.isAlreadyFound(""));
    r.addFoundRow(" - Found", kIconNone);
    EXPECT_TRUE(r.isAlreadyFound(""));
}

TEST(ScanResults, PrefixLookupAgreesWithALinearSearch) {
    ScanResults r;
    const char* rows[] = {"A - Found", "AB - Found", "a - foundx", "B", "b - Found", "EXCLUDED: a", "Z"};
    for (const char* t : rows) r.addFoundRow(t, kIconFile);
    for (const char* q : {"a", "ab", "abc", "b", "z", "", "EXCLUDED: a", "a - found"}) {
        bool linear = false;
        std::string key = std::string(q) + " - Found";
        for (const auto& row : r.foundList()) {
            if (row.text.size() >= key.size()) {
                bool same = true;
                for (size_t i = 0; i < key.size(); ++i)
                    same = same && std::toupper(static_cast<unsigned char>(row.text[i])) ==
                                       std::toupper(static_cast<unsigned char>(key[i]));
                linear = linear || same;
            }
        }
        EXPECT_EQ(r.isAlreadyFound(q), linear) << q;
    }
}

TEST(ScanResults, WorkListsTracesAndTheFoundEvents) {
    ScanResults r;
    std::vector<ItemFound> told;
    r.setListener([&](const ItemFound& f) { told.push_back(f); });
    r.addRegistryDetection({rootKeyHandleText(RootKey::LocalMachine), "Software\\Bad", "Start", "BadThing"});
    r.addCookieDetection("C:\\Cookies\\me@ads[1].txt", "Cookie: me@ads[1].txt");
    r.addExcluded(DetectionKind::Folder, "C:\\Kept");
    ASSERT_EQ(told.size(), 3u);
    EXPECT_EQ(told[0].kind, DetectionKind::RegistryValue);
    EXPECT_EQ(told[0].location, "HKEY_LOCAL_MACHINE\\Software\\Bad [Start]");
    EXPECT_EQ(told[0].spywareName, "BadThing");
    EXPECT_EQ(told[1].kind, DetectionKind::Cookie);
    EXPECT_TRUE(told[2].excluded);
    EXPECT_EQ(told[2].location, "C:\\Kept");
    EXPECT_EQ(r.traces(), 1);  // cookies are not counted as traces
    EXPECT_EQ(r.registryDetections()[0].mainKey, "-2147483646");
    EXPECT_EQ(r.cookieDetections()[0].path, "C:\\Cookies\\me@ads[1].txt");
    uint64_t before = r.revision();
    r.clear();
    EXPECT_GT(r.revision(), before);
    EXPECT_TRUE(r.registryDetections().empty());
    EXPECT_TRUE(r.cookieDetections().empty());
    EXPECT_EQ(r.traces(), 0);
    EXPECT_FALSE(r.isAlreadyFound("x"));
}

TEST(ScanResults, RootKeyHandles) {
    EXPECT_EQ(rootKeyHandleText(RootKey::ClassesRoot), "-2147483648");
    EXPECT_EQ(rootKeyHandleText(RootKey::CurrentUser), "-2147483647");
    EXPECT_EQ(rootKeyHandleText(RootKey::Users), "-2147483645");
    EXPECT_EQ(rootKeyHandleText(RootKey::CurrentConfig), "-2147483643");
    EXPECT_EQ(rootKeyHandleText(RootKey::DynData), "-2147483642");
    EXPECT_EQ(rootKeyFromHandleText("-2147483646"), RootKey::LocalMachine);
    EXPECT_FALSE(rootKeyFromHandleText("-2147483644").has_value());  // performance data has no number
    EXPECT_FALSE(rootKeyFromHandleText("x").has_value());
    EXPECT_FALSE(rootKeyFromHandleText("-2147483646 ").has_value());
}

TEST(ScanResults, ChecksAndErasingCheckedRows) {
    ScanResults r;
    ScanCounters c;
    r.listThreat("One", "C:\\1", "", kIconFile, c);
    r.listThreat("Two", "C:\\2", "", kIconFile, c);
    r.addFileDetection("C:\\1", "One");
    r.addFileDetection("C:\\2", "Two");
    EXPECT_EQ(r.checkedCount(), 0u);
    r.checkAll(true);
    EXPECT_EQ(r.checkedCount(), 2u);
    r.setChecked(1, false);
    r.setChecked(99, true);  // no such row: nothing happens
    r.fileRows()[0].checked = true;
    r.setFoundChecked(0, true);
    r.eraseCheckedRows();
    ASSERT_EQ(r.removalList().size(), 1u);
    EXPECT_EQ(r.removalList()[0].name, "Two");
    ASSERT_EQ(r.fileDetections().size(), 1u);
    EXPECT_EQ(r.fileDetections()[0].path, "C:\\2");
    EXPECT_FALSE(r.isAlreadyFound("One"));  // the index follows the found list
    EXPECT_TRUE(r.isAlreadyFound("Two"));
}

TEST(ThreatSummary, EachRowGathersItsTracesAndTheFindingsRoundTrip) {
    ScanResults r;
    ScanCounters counters;
    r.addFileDetection("C:\\Bad\\bad.exe", "Bad Thing");
    r.addFileDetection("C:\\Bad", "bad thing", /*folder=*/true);
    r.addRegistryDetection({rootKeyHandleText(RootKey::LocalMachine), "Software\\Bad", "Run\tme", "Bad Thing"});
    r.listThreat("Bad Thing", "C:\\Bad\\bad.exe", "Adware", kIconFile, counters);
    r.addCookieDetection("C:\\Cookies\\me@ads[1].txt", "Cookie: me@ads[1].txt");
    r.addThreat(ThreatRecord{"Cookie: me@ads[1].txt", "C:\\Cookies\\me@ads[1].txt", "Tracking Cookie", kIconCookie, false});
    r.addProgramFound(ProgramFound{"spy.exe", false});
    auto threats = summarizeThreats(r);
    ASSERT_EQ(threats.size(), 3u);
    EXPECT_EQ(threats[0].detections, (std::vector<ThreatDetection>{
                                         {DetectionKind::File, "C:\\Bad\\bad.exe", {}},
                                         {DetectionKind::Folder, "C:\\Bad", {}},
                                         {DetectionKind::RegistryValue, "HKEY_LOCAL_MACHINE\\Software\\Bad [Run\tme]", {}}}));
    EXPECT_EQ(threats[1].kind, DetectionKind::Cookie);
    EXPECT_EQ(threats[2].kind, DetectionKind::Process);
    EXPECT_TRUE(threats[2].detections[0].outcome->failed()) << "a program that would not stop";

    applyRemovalOutcomes(threats, {Detection{DetectionKind::Folder, "Bad Thing", "C:\\Bad", Outcome::notDone("busy")}});
    EXPECT_EQ(threats[0].detections[1].outcome, Outcome::notDone("busy"));
    EXPECT_FALSE(threats[0].detections[0].outcome);

    auto back = parseFindings(formatFindings(threats));
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0].name, "Bad Thing");
    EXPECT_EQ(back[0].detections[2].location, "HKEY_LOCAL_MACHINE\\Software\\Bad [Run\tme]");
    EXPECT_FALSE(back[0].detections[1].outcome) << "outcomes are not kept";
    EXPECT_EQ(parseFindings("D\tfile\tC:\\orphan\r\nX\tfile\r\n").size(), 0u);
}

TEST(ThreatSummary, TheKindIsThatOfTheTraceTheListShows) {
    ScanResults r;
    ScanCounters counters;
    r.addFileDetection("C:\\Bar\\bar.exe", "Bar");
    r.addRegistryDetection({rootKeyHandleText(RootKey::LocalMachine), "Software\\Bar", "", "Bar"});
    r.listThreat("Bar", "HKEY_LOCAL_MACHINE\\Software\\Bar", "Adware", kIconRegistry, counters);
    auto threats = summarizeThreats(r);
    ASSERT_EQ(threats.size(), 1u);
    EXPECT_EQ(threats[0].detections.front().kind, DetectionKind::File);
    EXPECT_EQ(threats[0].kind, DetectionKind::RegistryKey) << "the file came first, the list shows the key";
}

}  // namespace
}  // namespace vedozer
