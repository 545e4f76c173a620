// The session's language: which one start-up loads, choosing one, and the file's own operations.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/Session.h"
#include "i18n/Captions.h"
#include "i18n/MessageKeys.h"
#include "support/FakePlatform.h"
#include "support/FakeShellFolders.h"
#include "support/MemoryFileSystem.h"
#include "support/MemorySettingsStore.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"

namespace vedozer {
namespace {

const ProductIdentity kIdentity{"Vedozer", "Vedozer Labs", "http://www.vedozer.example"};
const std::string kProgram = "C:\\Program Files\\Vedozer";
const std::string kFile = kProgram + "\\Localization.txt";
const std::string kGermanStop = "M\xF6" "chten Sie die \xDC" "berpr\xFC" "fung wirklich abbrechen?";

std::string shippedFile() {
    return test::readHostFile(std::filesystem::path(VEDOZER_SOURCE_DIR) / "data/Localization.txt");
}

struct SessionLanguage : ::testing::Test {
    test::MemoryFileSystem files;
    test::MemoryFileSystem data;
    test::MemoryRegistry registry;
    test::FakeShellFolders shellFolders = test::FakeShellFolders::windowsXp();
    test::MemorySettingsStore store;
    test::FixedClock clock;
    test::FakeSystemInfo system;
    test::RecordingShell shell;
    test::ScriptedHost host;
    Platform platform;

    void SetUp() override {
        platform.files = &files;
        platform.dataFiles = &data;
        platform.registry = &registry;
        platform.shellFolders = &shellFolders;
        platform.settingsStore = &store;
        platform.clock = &clock;
        platform.systemInfo = &system;
        platform.shell = &shell;
        platform.programFolder = kProgram;
        data.addFolder(kProgram);
        data.addFile(kFile, shippedFile());
    }
    std::optional<std::string> saved() { return store.getUser("Vedozer", "Settings", "Language"); }
    void save(const std::string& name) { store.saveUser("Vedozer", "Settings", "Language", name); }
};

TEST_F(SessionLanguage, TheVeryFirstStartShowsEnglishAndSavesNothing) {
    Session session(platform, host, kIdentity);
    ASSERT_TRUE(session.startUp());
    EXPECT_FALSE(session.languageWasChosen());
    EXPECT_EQ(session.language().applied, "English");
    EXPECT_EQ(session.message(msg::MSG_STOP), "Are you sure you want to stop the scan?");
    EXPECT_FALSE(saved());  // the desktop saves "English" when it offers the language window
    EXPECT_TRUE(session.startupProblems().empty());
}

TEST_F(SessionLanguage, TheSavedLanguageTranslatesMessagesAndCaptionsAtStart) {
    save("deutsch");  // saved in another letter case
    Session session(platform, host, kIdentity);
    ASSERT_TRUE(session.startUp());
    EXPECT_TRUE(session.languageWasChosen());
    EXPECT_EQ(session.language().applied, "Deutsch");
    EXPECT_EQ(session.message(msg::MSG_STOP), kGermanStop);
    EXPECT_EQ(session.message(msg::MSG_CAPTION), "Vedozer von Vedozer Labs");
    EXPECT_EQ(captionText(session.languages(), CaptionId::ScanStart), "&Starten");
    EXPECT_TRUE(host.notices.empty());
    EXPECT_EQ(session.availableLanguages(), std::vector<std::string>({"English", "Deutsch"}));
}

TEST_F(SessionLanguage, ForThisRunTheAskedLanguageBeatsTheLocaleWhichBeatsTheSavedOne) {
    save("English");
    struct Case {
        RunLanguage run;
        std::string shown;
    };
    const std::vector<Case> cases{
        {{"", "de_DE.UTF-8"}, "Deutsch"},
        {{"", "C"}, "English"},
        {{"", "fr_FR.UTF-8"}, "English"},  // no French group: the saved language
        {{"English", "de_DE.UTF-8"}, "English"},
    };
    for (const Case& c : cases) {
        Session session(platform, host, kIdentity);
        session.setRunLanguage(c.run);
        ASSERT_TRUE(session.startUp());
        EXPECT_EQ(session.language().applied, c.shown) << c.run.locale;
    }
    save("Deutsch");
    Session session(platform, host, kIdentity);
    session.setRunLanguage({"", "en_GB.UTF-8"});
    ASSERT_TRUE(session.startUp());
    EXPECT_EQ(session.language().applied, "English");
    EXPECT_EQ(*saved(), "Deutsch");  // a run's language is never saved
}

TEST_F(SessionLanguage, ABadFileAtStartIsToldAndTheBuiltInEnglishShown) {
    save("Deutsch");
    std::string broken = shippedFile();
    broken.resize(broken.find("\r\n", broken.size() * 3 / 4) + 2);  // cut off inside the German group
    data.addFile(kFile, broken);
    Session session(platform, host, kIdentity);
    ASSERT_TRUE(session.startUp());
    EXPECT_TRUE(session.language().builtIn());
    EXPECT_EQ(session.message(msg::MSG_STOP), "Are you sure you want to stop the scan?");
    EXPECT_EQ(captionText(session.languages(), CaptionId::ScanStart), "&Start");
    ASSERT_EQ(session.startupProblems().size(), 1u);
    const std::string& told = session.startupProblems()[0];
    EXPECT_EQ(told.rfind("The language file cannot be used, so Vedozer shows its built-in English texts.\r\n" + kFile +
                             ": line ",
                         0),
              0u)
        << told;
    EXPECT_NE(told.find("is cut short"), std::string::npos) << told;
    ASSERT_EQ(host.notices.size(), 1u);
    EXPECT_EQ(host.notices[0].kind, NoticeKind::Warning);
    EXPECT_EQ(host.notices[0].text, told);
    EXPECT_EQ(*saved(), "Deutsch");  // the person's choice stays for when the file is mended
}

TEST_F(SessionLanguage, AChosenLanguageIsSavedOnlyWhenItCanBeShown) {
    Session session(platform, host, kIdentity);
    ASSERT_TRUE(session.startUp());
    LanguageState state = session.chooseLanguage("Deutsch");
    EXPECT_TRUE(state.problems.empty());
    EXPECT_EQ(*saved(), "Deutsch");
    EXPECT_EQ(session.message(msg::MSG_STOP), kGermanStop);

    std::string bad = shippedFile();
    bad.replace(bad.find("<MSG_THANK1>Vielen"), 12, "<MSG_THANKS>Vielen");
    bad.replace(bad.find("</MSG_THANK1>", bad.find("<MSG_THANKS>")), 13, "</MSG_THANKS>");
    data.addFile(kFile, bad);
    state = session.chooseLanguage("Deutsch");
    ASSERT_EQ(state.problems.size(), 1u);
    EXPECT_NE(state.problems[0].find("MSG_THANKS is not a text of this program"), std::string::npos);
    EXPECT_EQ(session.message(msg::MSG_STOP), "Are you sure you want to stop the scan?");
    EXPECT_EQ(session.chooseLanguage("English").problems.size(), 0u);
    EXPECT_EQ(*saved(), "English");
    session.chooseLanguage("Deutsch");
    EXPECT_EQ(*saved(), "English");
}

TEST_F(SessionLanguage, TranslatingOpensTheFileAndWritesTheEnglishOneWhenThereIsNone) {
    Session session(platform, host, kIdentity);
    ASSERT_TRUE(session.startUp());
    ASSERT_TRUE(session.openLocalizationFile().isDone());
    EXPECT_EQ(shell.opened, std::vector<std::string>{kFile});
    EXPECT_EQ(*data.content(kFile), shippedFile());  // an existing file is opened as it is

    data.deleteFile(kFile);
    ASSERT_TRUE(session.openLocalizationFile().isDone());
    EXPECT_EQ(*data.content(kFile), makeLocalizationFile(builtInTexts()));
    LocalizationReport report = session.checkLocalizationFile();
    EXPECT_TRUE(report.complete());
    ASSERT_EQ(report.languages.size(), 1u);

    shell.succeed = false;
    EXPECT_EQ(session.openLocalizationFile().reason, kFile + " could not be opened");
}

TEST_F(SessionLanguage, WithoutAProgramFolderEnglishIsAllThereIs) {
    platform.programFolder.clear();
    save("Deutsch");
    Session session(platform, host, kIdentity);
    ASSERT_TRUE(session.startUp());
    EXPECT_TRUE(session.language().builtIn());
    EXPECT_EQ(session.availableLanguages(), std::vector<std::string>{"English"});
    EXPECT_EQ(session.updateLanguageFile("http://127.0.0.1:1").error,
              "this program has no folder for its language file");
    EXPECT_TRUE(session.writeEnglishLocalizationFile().failed());
    EXPECT_FALSE(session.checkLocalizationFile().exists);
}

}  // namespace
}  // namespace vedozer
