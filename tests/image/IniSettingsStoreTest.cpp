#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "platform/image/IniSettingsStore.h"
#include "support/TempDir.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;
using test::readHostFile;
using test::TempDir;

const char* kApp = "Vedozer Anti-Spyware";

// ---- the INI text ----

TEST(IniDocument, ReadsSectionsAndKeysWithoutRegardToCase) {
    auto doc = IniDocument::parse("[Settings]\nLanguage=Deutsch\n[OptionAndSettings]\nchkMakeLog=0\n");
    EXPECT_EQ(doc.get("settings", "LANGUAGE"), "Deutsch");
    EXPECT_EQ(doc.get("OptionAndSettings", "chkmakelog"), "0");
    EXPECT_FALSE(doc.get("Settings", "chkMakeLog"));
    EXPECT_FALSE(doc.get("Drives", "Language"));
}

TEST(IniDocument, ValuesAreTakenVerbatim) {
    auto doc = IniDocument::parse("[S]\na= two  spaces  \nb=x=y==\nc=\nd=[not a section]\r\n");
    EXPECT_EQ(doc.get("S", "a"), " two  spaces  ");
    EXPECT_EQ(doc.get("S", "b"), "x=y==");
    EXPECT_EQ(doc.get("S", "c"), "");
    EXPECT_EQ(doc.get("S", "d"), "[not a section]");  // a CR LF line ending is not part of the value
}

TEST(IniDocument, CommentsCorruptLinesAndLooseEntriesAreIgnored) {
    auto doc = IniDocument::parse(
        "orphan=1\n; comment=2\n# other=3\n[S]\nno equals sign here\n[broken\nk=v\n\xFF\xFE garbage\n");
    EXPECT_FALSE(doc.get("", "orphan"));
    EXPECT_FALSE(doc.get("S", "; comment"));
    EXPECT_EQ(doc.get("S", "k"), "v");  // "[broken" is not a section header
    EXPECT_FALSE(doc.get("broken", "k"));
}

TEST(IniDocument, FirstOccurrenceWinsAcrossRepeatedSections) {
    auto doc = IniDocument::parse("[S]\nk=1\nK=2\n[T]\nk=3\n[s]\nk=4\nj=5\n");
    EXPECT_EQ(doc.get("S", "k"), "1");
    EXPECT_EQ(doc.get("S", "j"), "5");
    doc.set("S", "J", "6");
    EXPECT_EQ(doc.serialize(), "[S]\nk=1\nK=2\n[T]\nk=3\n[s]\nk=4\nj=6\n");
}

TEST(IniDocument, UntouchedTextIsWrittenBackUnchanged) {
    std::string text = "; kept\r\n[S]\r\nk= v \r\n\r\nodd line\r\n[T]\r\n";
    EXPECT_EQ(IniDocument::parse(text).serialize(), text);
    EXPECT_EQ(IniDocument::parse("[S]\nk=v").serialize(), "[S]\nk=v\n");
    EXPECT_EQ(IniDocument::parse("").serialize(), "");
}

TEST(IniDocument, UpdatingKeepsOtherLinesAndTheKeysSpelling) {
    auto doc = IniDocument::parse("# mine\n[Settings]\nLanguage=English\n garbage \nMax=0\n");
    doc.set("SETTINGS", "language", "Deutsch");
    EXPECT_EQ(doc.serialize(), "# mine\n[Settings]\nLanguage=Deutsch\n garbage \nMax=0\n");
}

TEST(IniDocument, NewKeysJoinTheirSectionAndNewSectionsAreAppended) {
    auto doc = IniDocument::parse("[A]\nx=1\n\n[B]\ny=2\n");
    doc.set("a", "z", "3");
    doc.set("C", "w", "4");
    EXPECT_EQ(doc.serialize(), "[A]\nx=1\nz=3\n\n[B]\ny=2\n\n[C]\nw=4\n");
    IniDocument empty;
    empty.set("S", "k", "v");
    EXPECT_EQ(empty.serialize(), "[S]\nk=v\n");
}

TEST(IniDocument, LineBreaksAndPercentSignsAreEscaped) {
    IniDocument doc;
    doc.set("S", "k", "line1\r\nline2 100% %41");
    EXPECT_EQ(doc.serialize(), "[S]\nk=line1%0D%0Aline2 100%25 %2541\n");
    EXPECT_EQ(IniDocument::parse(doc.serialize()).get("S", "k"), "line1\r\nline2 100% %41");
}

TEST(IniDocument, KeysThatLookLikeSyntaxAreEscaped) {
    IniDocument doc;
    doc.set("Drives", "a=b", "1");
    doc.set("Drives", "[C:]", "2");
    doc.set("Drives", ";x", "3");
    doc.set("Drives", "#y", "4");
    doc.set("Drives", "C: [Local Disk]", "True");
    EXPECT_EQ(doc.serialize(), "[Drives]\na%3Db=1\n%5BC:]=2\n%3Bx=3\n%23y=4\nC: [Local Disk]=True\n");
    auto back = IniDocument::parse(doc.serialize());
    EXPECT_EQ(back.get("Drives", "a=b"), "1");
    EXPECT_EQ(back.get("Drives", "[C:]"), "2");
    EXPECT_EQ(back.get("Drives", ";x"), "3");
    EXPECT_EQ(back.get("Drives", "#y"), "4");
    EXPECT_EQ(back.get("Drives", "C: [Local Disk]"), "True");
}

TEST(IniDocument, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    IniDocument doc;
    doc.set("S\n]", all, all);
    auto back = IniDocument::parse(doc.serialize());
    EXPECT_EQ(back.get("S\n]", all), all);
}

TEST(IniDocument, LoneOrMalformedPercentSignsAreLiteral) {
    EXPECT_EQ(IniDocument::unescape("50% %4 %G1 %"), "50% %4 %G1 %");
    EXPECT_EQ(IniDocument::unescape("%41%62"), "Ab");
}

// ---- the files ----

TEST(IniSettingsStore, UserSettingsLiveInTheProgramsFolder) {
    TempDir dir;
    IniSettingsStore store(dir.path() / "config", dir.path() / "machine");
    EXPECT_EQ(store.userFile(kApp), dir.path() / "config" / kApp / "settings.ini");
    EXPECT_FALSE(store.getUser(kApp, "Settings", "Language"));
    ASSERT_TRUE(store.saveUser(kApp, "Settings", "Language", "Deutsch"));
    EXPECT_EQ(readHostFile(store.userFile(kApp)), "[Settings]\nLanguage=Deutsch\n");
    EXPECT_EQ(store.getUser(kApp, "settings", "language"), "Deutsch");
    EXPECT_FALSE(store.getUser(kApp, "Settings", "Max"));
    EXPECT_FALSE(store.getUser("Another Build", "Settings", "Language"));
}

TEST(IniSettingsStore, HandEditedFilesKeepTheirOtherLines) {
    TempDir dir;
    IniSettingsStore store(dir.path(), dir.path() / "machine");
    dir.write(std::string(kApp) + "/settings.ini", "; my notes\n[Settings]\nlanguage=English\n???\n");
    ASSERT_TRUE(store.saveUser(kApp, "Settings", "Language", "Deutsch"));
    ASSERT_TRUE(store.saveUser(kApp, "Drives", "C:", "False"));
    EXPECT_EQ(readHostFile(store.userFile(kApp)),
              "; my notes\n[Settings]\nlanguage=Deutsch\n???\n\n[Drives]\nC:=False\n");
}

TEST(IniSettingsStore, WritesReplaceTheFileWholeAndKeepItsMode) {
    TempDir dir;
    IniSettingsStore store(dir.path(), dir.path() / "machine");
    ASSERT_TRUE(store.saveUser(kApp, "S", "k", "1"));
    ASSERT_EQ(::chmod(store.userFile(kApp).c_str(), 0600), 0);
    ASSERT_TRUE(store.saveUser(kApp, "S", "k", "2"));
    struct stat st {};
    ASSERT_EQ(::stat(store.userFile(kApp).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    int entries = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(store.userFile(kApp).parent_path())) ++entries;
    EXPECT_EQ(entries, 1);  // no temporary file left behind
}

TEST(IniSettingsStore, AFileThatCannotBeReadIsNeverOverwritten) {
    TempDir dir;
    IniSettingsStore store(dir.path(), dir.path() / "machine");
    fs::create_directories(store.userFile(kApp));  // a folder where the file should be
    EXPECT_FALSE(store.getUser(kApp, "S", "k"));
    EXPECT_FALSE(store.saveUser(kApp, "S", "k", "v"));
    EXPECT_TRUE(fs::is_directory(store.userFile(kApp)));
}

TEST(IniSettingsStore, NamesThatAreNotOneFolderAreRefused) {
    TempDir dir;
    IniSettingsStore store(dir.path() / "config", dir.path() / "machine");
    for (const std::string& bad :
         std::vector<std::string>{"", ".", "..", "../escape", "a/b", std::string("a\0b", 3)}) {
        EXPECT_TRUE(store.userFile(bad).empty()) << bad;
        EXPECT_FALSE(store.saveUser(bad, "S", "k", "v")) << bad;
        EXPECT_FALSE(store.getUser(bad, "S", "k")) << bad;
        EXPECT_EQ(store.saveMachine("Co", bad, "S", "k", "v"), StoreStatus::WriteFailed) << bad;
        EXPECT_EQ(store.saveMachine(bad.empty() ? "x/y" : bad, "App", "S", "k", "v"),
                  StoreStatus::WriteFailed);
    }
    EXPECT_FALSE(fs::exists(dir.path() / "escape"));
    EXPECT_FALSE(fs::exists(dir.path() / "config"));
    EXPECT_FALSE(fs::exists(dir.path() / "machine"));
}

TEST(IniSettingsStore, NamesAreWrittenAsUtf8Folders) {
    TempDir dir;
    IniSettingsStore store(dir.path(), dir.path() / "machine");
    ASSERT_TRUE(store.saveUser("Z\xE9ro", "S", "k", "v"));
    EXPECT_TRUE(fs::exists(dir.path() / "Z\xC3\xA9ro" / "settings.ini"));
    EXPECT_EQ(store.getUser("Z\xE9ro", "S", "k"), "v");
}

TEST(IniSettingsStore, MachineSettingsLiveUnderCompanyAndProgram) {
    TempDir dir;
    IniSettingsStore store(dir.path() / "user", dir.path() / "etc");
    EXPECT_EQ(store.machineFile("Vedozer Labs", kApp),
              dir.path() / "etc" / "Vedozer Labs" / kApp / "settings.ini");
    EXPECT_EQ(store.machineFile("", kApp), dir.path() / "etc" / kApp / "settings.ini");
    EXPECT_EQ(store.getMachine("Vedozer Labs", kApp, "Settings", "FirstTime").status, StoreStatus::NotFound);
    ASSERT_EQ(store.saveMachine("Vedozer Labs", kApp, "Settings", "FirstTime", "Yes"), StoreStatus::Ok);
    StoreRead r = store.getMachine("vedozer labs", kApp, "SETTINGS", "firsttime");
    EXPECT_EQ(r.status, StoreStatus::NotFound);  // folder names are the host's: exact case
    r = store.getMachine("Vedozer Labs", kApp, "SETTINGS", "firsttime");
    EXPECT_EQ(r.status, StoreStatus::Ok);
    EXPECT_EQ(r.value, "Yes");
    EXPECT_EQ(store.getMachine("Vedozer Labs", kApp, "Settings", "showHelp").status, StoreStatus::NotFound);
    EXPECT_FALSE(store.getUser(kApp, "Settings", "FirstTime"));
}

TEST(IniSettingsStore, UnreadableMachineFileIsAnOpenFailure) {
    TempDir dir;
    IniSettingsStore store(dir.path() / "user", dir.path() / "etc");
    fs::create_directories(store.machineFile("Co", kApp));
    EXPECT_EQ(store.getMachine("Co", kApp, "Settings", "FirstTime").status, StoreStatus::OpenFailed);
    EXPECT_EQ(store.saveMachine("Co", kApp, "Settings", "FirstTime", "Yes"), StoreStatus::WriteFailed);
}

TEST(IniSettingsStore, DefaultUserFolderFollowsTheXdgRules) {
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const char* oldHome = std::getenv("HOME");
    std::string savedXdg = oldXdg ? oldXdg : "", savedHome = oldHome ? oldHome : "";
    ::setenv("HOME", "/home/someone", 1);
    ::setenv("XDG_CONFIG_HOME", "/xdg/config", 1);
    EXPECT_EQ(IniSettingsStore::defaultUserConfigDir(), fs::path("/xdg/config"));
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(IniSettingsStore::defaultUserConfigDir(), fs::path("/home/someone/.config"));
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(IniSettingsStore::defaultUserConfigDir(), fs::path("/home/someone/.config"));
    oldXdg ? ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
    oldHome ? ::setenv("HOME", savedHome.c_str(), 1) : ::unsetenv("HOME");
}

}  // namespace
}  // namespace vedozer
