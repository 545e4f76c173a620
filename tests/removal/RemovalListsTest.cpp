#include <gtest/gtest.h>

#include "removal/RemovalText.h"
#include "removal/WorkListChecks.h"

namespace vedozer {
namespace {

TEST(RemovalText, FileExtensionLooksOnlyAtTheLastName) {
    EXPECT_EQ(FileExtension("C:\\Program Files\\Ad\\AD.EXE"), "exe");
    EXPECT_EQ(FileExtension("C:\\x\\lib.Dll "), "dll");
    EXPECT_EQ(FileExtension("C:\\x.dir\\noext"), "");
    EXPECT_EQ(FileExtension("C:file"), "");
    EXPECT_EQ(FileExtension("plain"), "");
    EXPECT_EQ(FileExtension("a.tar.gz"), "gz");
    EXPECT_EQ(FileExtension("C:\\x\\trailing."), "");
}

TEST(RemovalText, ProcessNamesCompareByTheirShortForms) {
    EXPECT_EQ(shortProgramName("adbuddy.exe"), "ADBUDD~1");
    EXPECT_EQ(shortProgramName("ad.EXE"), "AD~1");
    EXPECT_EQ(shortProgramName("sixsix.exe"), "SIXSIX~1");
    EXPECT_EQ(processMatchName("adbuddy.exe"), "ADBUDDY");
    EXPECT_EQ(processMatchName("a.b.c"), "A");
    EXPECT_EQ(processMatchName("averyveryverylongname.exe"), "AVERYVERYVERYLO");
    EXPECT_EQ(processMatchName("sixteen.chars.ab"), "SIXTEEN.CHARS.A");
}

TEST(RemovalText, PercentagesRoundHalfToEvenAndTheCopyListEndsEveryLine) {
    EXPECT_EQ(removalPercent(1, 8), 12);  // 12.5
    EXPECT_EQ(removalPercent(3, 8), 38);  // 37.5
    EXPECT_EQ(removalPercent(1, 3), 33);
    EXPECT_EQ(removalPercent(2, 2), 100);
    EXPECT_EQ(CopyListText({"C:\\a.exe", "C:\\b.dll", "C:\\c"}), "C:\\a.exe\r\nC:\\b.dll\r\nC:\\c\r\n");
    EXPECT_EQ(CopyListText({}), "");
    EXPECT_EQ(leadingNumber(" 42abc"), 42);
    EXPECT_EQ(leadingNumber("-7"), -7);
    EXPECT_EQ(leadingNumber("x1"), 0);
    EXPECT_EQ(leadingNumber(""), 0);
}

ScanResults sampleResults() {
    ScanResults r;
    ScanCounters c;
    r.listThreat("Cookie: ads", "C:\\Cookies\\alice@ads[1].txt", "Tracking Cookie", kIconCookie, c);
    r.addCookieDetection("C:\\Cookies\\alice@ads[1].txt", "Cookie: ads");
    r.addCookieDetection("C:\\Cookies\\alice@other[1].txt", "Cookie: other");
    r.listThreat("AdReg", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Ad", "", kIconRegistry, c);
    r.addRegistryDetection({"-2147483646", "SOFTWARE\\Ad", "Run", "AdReg", false});
    r.addRegistryDetection({"-2147483646", "SOFTWARE\\Other", "", "Other", false});
    r.listThreat("SOFTWARE\\Keyonly", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Keyonly", "", kIconRegistry, c);
    r.addRegistryDetection({"-2147483646", "SOFTWARE\\Keyonly", "", "", false});
    r.listThreat("AdFile", "C:\\a\\ad.exe", "", kIconFile, c);
    r.addFileDetection("C:\\a\\ad.exe", "AdFile");
    r.addFileDetection("C:\\b\\ad.dll", "AdFile");
    r.addFileDetection("C:\\b\\adfile.txt", "adfile");  // letter case counts
    r.listThreat("AdFolder", "C:\\Program Files\\AdFolder", "", kIconFolder, c);
    r.addFileDetection("C:\\Program Files\\AdFolder", "AdFolder");
    return r;
}

TEST(WorkListChecks, EachKindTicksExactlyItsOwnWorkRows) {
    auto r = sampleResults();
    setRemovalRowChecked(r, 0, true);  // cookie: by path
    EXPECT_TRUE(r.cookieDetections()[0].checked);
    EXPECT_FALSE(r.cookieDetections()[1].checked);
    setRemovalRowChecked(r, 1, true);  // registry: by spyware name
    EXPECT_TRUE(r.registryDetections()[0].checked);
    EXPECT_FALSE(r.registryDetections()[1].checked);
    EXPECT_FALSE(r.registryDetections()[2].checked);
    setRemovalRowChecked(r, 2, true);  // registry: a key definition without a name, by key path
    EXPECT_TRUE(r.registryDetections()[2].checked);
    setRemovalRowChecked(r, 3, true);  // file: every detection of the name, exact case
    EXPECT_TRUE(r.fileDetections()[0].checked);
    EXPECT_TRUE(r.fileDetections()[1].checked);
    EXPECT_FALSE(r.fileDetections()[2].checked);
    EXPECT_FALSE(r.fileDetections()[3].checked);
    setRemovalRowChecked(r, 4, true);  // folder: by the path of the first hit
    EXPECT_TRUE(r.fileDetections()[3].checked);
    setRemovalRowChecked(r, 3, false);
    EXPECT_FALSE(r.fileDetections()[0].checked);
    EXPECT_FALSE(r.fileDetections()[1].checked);
    EXPECT_TRUE(r.fileDetections()[3].checked);
    setRemovalRowChecked(r, 99, true);  // no such row: nothing happens
}

TEST(WorkListChecks, TracesOfANameFoundByAnotherStageFollowItsRow) {
    // "AdBuddy" was listed by the registry stage; the file stage then found its program file
    // under the same name. Checking the row must take the file along, unchecking must leave it.
    ScanResults r;
    ScanCounters c;
    r.listThreat("AdBuddy", "HKEY_LOCAL_MACHINE\\Software\\AdBuddy", "", kIconRegistry, c);
    r.addRegistryDetection({rootKeyHandleText(RootKey::LocalMachine), "Software\\AdBuddy", "", "AdBuddy"});
    r.addFileDetection("C:\\Program Files\\AdBuddy\\adbuddy.exe", "AdBuddy");
    r.addFileDetection("C:\\Program Files\\AdBuddy", "AdBuddy");
    r.addFileDetection("C:\\Other\\other.exe", "Other");
    setRemovalRowChecked(r, 0, true);
    EXPECT_TRUE(r.registryDetections()[0].checked);
    EXPECT_TRUE(r.fileDetections()[0].checked);
    EXPECT_TRUE(r.fileDetections()[1].checked);
    EXPECT_FALSE(r.fileDetections()[2].checked);
    setRemovalRowChecked(r, 0, false);
    EXPECT_FALSE(r.fileDetections()[0].checked);
    EXPECT_FALSE(r.registryDetections()[0].checked);
}

TEST(WorkListChecks, SelectAllChecksAndSyncsOnlyRowsThatWereUnchecked) {
    auto r = sampleResults();
    r.setChecked(3, true);  // ticked without its sync: Select All leaves it as it is
    selectAll(r);
    EXPECT_EQ(r.checkedCount(), r.removalList().size());
    EXPECT_TRUE(r.cookieDetections()[0].checked);
    EXPECT_TRUE(r.registryDetections()[0].checked);
    EXPECT_FALSE(r.fileDetections()[0].checked);
    EXPECT_TRUE(r.fileDetections()[3].checked);
}

}  // namespace
}  // namespace vedozer
