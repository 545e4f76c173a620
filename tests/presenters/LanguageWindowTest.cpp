// The language window over a recording view, and a language applied to every window at once.
#include <gtest/gtest.h>

#include <filesystem>

#include "DesktopImage.h"
#include "app/presenters/LanguagePresenter.h"
#include "i18n/LocalizationFile.h"
#include "i18n/LocalizationParser.h"
#include "support/TempDir.h"
#include "text/Text.h"
#include "update/UpdateUrls.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;

class RecordingLanguageView : public test::WithCaptions<LanguageView> {
public:
    std::string title;
    std::vector<std::string> names;
    int chosen = -2;
    int shown = 0;
    bool open = false;

    void setTitle(const std::string& t) override { title = t; }
    void showLanguages(const std::vector<std::string>& n, int c) override {
        names = n;
        chosen = c;
    }
    void showModal() override {
        ++shown;
        open = true;
    }
    void close() override { open = false; }
};

std::string shippedFile() { return test::readHostFile(fs::path(VEDOZER_SOURCE_DIR) / "data/Localization.txt"); }

// The desktop started in English over a program folder of its own holding the shipped file.
struct LanguageWindow : ::testing::Test {
    test::TempDir program;
    test::DesktopImage d;
    RecordingLanguageView view;
    std::unique_ptr<LanguagePresenter> presenter;
    std::string file;

    void SetUp() override {
        file = program.write("Localization.txt", shippedFile()).string();
        d.image.platform().programFolder = program.str();
        d.notFirstRun();
        Desktop& desk = d.start();
        presenter = std::make_unique<LanguagePresenter>(desk.session(), view, [&desk] { desk.applyLanguage(); });
    }
    Session& session() { return d.desktop->session(); }
    void serverAnswers(const std::string& body, int status = 200) {
        HttpResult reply;
        reply.ok = true;
        reply.status = status;
        reply.body = body;
        d.http.replies[localizationUrl(session().definitionServer())] = reply;
    }
};

// Every caption each window showed in English is shown again in German, and is the German text.
TEST_F(LanguageWindow, ChoosingALanguageChangesEveryCaptionOfEveryWindowAtOnceAndSavesIt) {
    test::RecordingViews& v = d.v;
    const std::map<CaptionGroup, test::Captions*> shownBy{
        {CaptionGroup::MainWindow, &v.main.captions},       {CaptionGroup::StatusPage, &v.status.captions},
        {CaptionGroup::ScanPage, &v.scan.captions},         {CaptionGroup::ResultsPage, &v.results.captions},
        {CaptionGroup::OptionsPage, &v.options.captions},   {CaptionGroup::Undeletable, &v.undeletable.captions},
        {CaptionGroup::LiveUpdate, &v.liveUpdate.captions}, {CaptionGroup::Report, &v.report.captions},
        {CaptionGroup::Quarantine, &v.quarantine.captions}, {CaptionGroup::Submit, &v.submit.captions},
        {CaptionGroup::About, &v.about.captions},           {CaptionGroup::Help, &v.help.captions},
    };
    std::map<CaptionId, std::string> english;
    for (const auto& [group, captions] : shownBy)
        for (const auto& [id, text] : captions->text) english[id] = text;
    ASSERT_GT(english.size(), 100u);
    EXPECT_EQ(english[CaptionId::ScanStart], "&Start");
    const std::string englishTitle = v.main.title;

    presenter->open();
    EXPECT_EQ(view.shown, 1);
    EXPECT_EQ(view.title, "Language");
    EXPECT_EQ(view.captions[CaptionId::LanguageTranslate], "&Translate this program");
    EXPECT_EQ(view.names, std::vector<std::string>({"English", "Deutsch"}));
    EXPECT_EQ(view.chosen, 0);  // the saved language
    presenter->languageChosen(1);
    EXPECT_EQ(d.setting("Settings", "Language"), "Deutsch");

    ParsedLocalization parsed = parseLocalization(shippedFile());
    const LanguageGroup* german = parsed.find("Deutsch");
    ASSERT_TRUE(german);
    auto germanText = [&](CaptionId id) {
        for (const TranslationItem& item : german->items)
            if (text::iequals(item.key, captionEntry(id).key))
                return upperFirst(substitutePlaceholders(item.text, session().identity()));
        return std::string("<no German text>");
    };
    size_t changed = 0;
    for (const auto& [group, captions] : shownBy) {
        for (CaptionId id : captionsOf(group)) {
            if (!english.count(id)) continue;  // a caption this window does not show
            EXPECT_EQ((*captions)[id], germanText(id)) << captionEntry(id).key;
            if ((*captions)[id] != english[id]) ++changed;
        }
    }
    EXPECT_GT(changed, english.size() * 9 / 10);
    EXPECT_EQ(v.scan.captions[CaptionId::ScanStart], "&Starten");
    EXPECT_EQ(v.main.title, "Vedozer Test von Vedozer Labs");
    EXPECT_NE(v.main.title, englishTitle);
    // The language window follows too.
    EXPECT_EQ(view.title, "Sprache");
    EXPECT_EQ(view.captions[CaptionId::LanguageTranslate], "Dieses Programm &\xFC" "bersetzen");

    // And back: nothing German is left.
    presenter->languageChosen(0);
    for (const auto& [group, captions] : shownBy) {
        for (const auto& [id, text] : captions->text) {
            if (english.count(id)) {
                EXPECT_EQ(text, english[id]) << captionEntry(id).key;
            }
        }
    }
}

TEST_F(LanguageWindow, ALanguageThatCannotBeShownIsToldAndNotSaved) {
    std::string bad = shippedFile();
    bad.insert(bad.rfind("\t</TRANSLATION_ITEMS>"), "\t\t<FRMMAIN_CMDTYPO>x</FRMMAIN_CMDTYPO>\r\n");
    program.write("Localization.txt", bad);
    presenter->open();
    presenter->languageChosen(1);
    EXPECT_EQ(d.setting("Settings", "Language"), "English");
    EXPECT_EQ(view.chosen, 0);
    EXPECT_EQ(d.v.scan.captions[CaptionId::ScanStart], "&Start");
    ASSERT_EQ(d.v.dialogs.notices.size(), 1u);
    EXPECT_EQ(d.v.dialogs.notices[0].kind, NoticeKind::Warning);
    EXPECT_NE(d.v.dialogs.notices[0].text.find("FRMMAIN_CMDTYPO is not a text of this program"), std::string::npos)
        << d.v.dialogs.notices[0].text;
}

TEST_F(LanguageWindow, CheckingForUpdatesReplacesTheFileRefillsTheListAndSaysSo) {
    presenter->open();
    presenter->languageChosen(1);
    std::string newer = shippedFile();
    newer.insert(newer.rfind("</XML_DIZ_INFO>"),
                 "<LANGUAGE_GROUP xml:lang=\"fr\">\r\n\t<LANGUAGE_NAME>Fran\xC3\xA7" "ais</LANGUAGE_NAME>\r\n"
                 "\t<TRANSLATION_ITEMS>\r\n\t\t<MSG_SURE>\xC3\x8Ates-vous s\xC3\xBBr ?</MSG_SURE>\r\n"
                 "\t</TRANSLATION_ITEMS>\r\n</LANGUAGE_GROUP>\r\n");
    serverAnswers(newer);
    presenter->checkForUpdatesClicked();
    EXPECT_EQ(test::readHostFile(file), newer);
    EXPECT_EQ(view.names, std::vector<std::string>({"English", "Deutsch", "Fran\xE7" "ais"}));
    EXPECT_EQ(view.chosen, 1);
    ASSERT_EQ(d.v.dialogs.notices.size(), 1u);
    EXPECT_EQ(d.v.dialogs.notices[0].text, "Die neueste Sprachdatei wurde heruntergeladen.");
    EXPECT_EQ(d.v.dialogs.notices[0].kind, NoticeKind::Info);

    serverAnswers("<html>Not Found</html>", 200);
    presenter->checkForUpdatesClicked();
    EXPECT_EQ(test::readHostFile(file), newer);
    ASSERT_EQ(d.v.dialogs.notices.size(), 2u);
    EXPECT_EQ(d.v.dialogs.notices[1].kind, NoticeKind::Warning);
    EXPECT_EQ(d.v.dialogs.notices[1].text.rfind("Die Sprachdatei wurde nicht aktualisiert", 0), 0u)
        << d.v.dialogs.notices[1].text;
    EXPECT_NE(d.v.dialogs.notices[1].text.find("did not answer with a language file"), std::string::npos);
}

TEST_F(LanguageWindow, TranslatingOpensTheFileWithTheDesktop) {
    presenter->translateClicked();
    EXPECT_EQ(d.shell.opened, std::vector<std::string>{file});
    d.shell.succeed = false;
    presenter->translateClicked();
    ASSERT_EQ(d.v.dialogs.notices.size(), 1u);
    EXPECT_EQ(d.v.dialogs.notices[0].text, file + " could not be opened");
}

}  // namespace
}  // namespace vedozer
