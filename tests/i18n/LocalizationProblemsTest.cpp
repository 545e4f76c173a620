// Bad language files: each is refused with a message that names what and where, and the
// catalogue shows the built-in English texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "i18n/Captions.h"
#include "i18n/LanguageSelection.h"
#include "i18n/MessageKeys.h"
#include "platform/image/ImageFileSystem.h"
#include "support/TempDir.h"

namespace vedozer {
namespace {

const ProductIdentity kIdentity{"Vedozer", "Vedozer Labs", "http://www.vedozer.example"};

// A file of one German group holding the given item lines.
std::string germanFile(const std::string& items, const std::string& tail = "</XML_DIZ_INFO>\r\n") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
           "<XML_DIZ_INFO>\r\n"
           "<LANGUAGE_GROUP xml:lang=\"de\">\r\n"
           "\t<LANGUAGE_NAME>Deutsch</LANGUAGE_NAME>\r\n"
           "\t<TRANSLATION_ITEMS>\r\n" +
           items +
           "\t</TRANSLATION_ITEMS>\r\n"
           "</LANGUAGE_GROUP>\r\n" +
           tail;
}

const std::string kGoodItems =
    "\t\t<MSG_STOP>Möchten Sie die Überprüfung wirklich abbrechen?</MSG_STOP>\r\n"  // line 6
    "\t\t<MSG_THANK1>Vielen Dank, dass Sie [ProgramName] verwenden!</MSG_THANK1>\r\n"
    "\t\t<FRMMAIN_CMDSCANNOW>&Starten</FRMMAIN_CMDSCANNOW>\r\n";

Languages defaults() {
    Languages lang(kIdentity);
    lang.loadDefaultMessages();
    return lang;
}

// Applies "Deutsch" from the text; the catalogue must show English afterwards when it failed.
LanguageState chooseGerman(Languages& lang, const std::string& file) {
    return applyLanguage(lang, parseLocalization(file), "Deutsch");
}

void expectBuiltInEnglish(const Languages& lang) {
    EXPECT_EQ(lang.currentLanguage(), "English");
    EXPECT_EQ(lang.getMessages(msg::MSG_STOP), "Are you sure you want to stop the scan?");
    EXPECT_EQ(captionText(lang, CaptionId::ScanStart), "&Start");
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\n";
    return out;
}

TEST(LocalizationProblems, ATruncatedFileIsRefusedWhereverItIsCut) {
    const std::string whole = germanFile(kGoodItems);
    struct Cut {
        std::string file;
        std::string says;
    };
    const std::vector<Cut> cuts{
        {whole.substr(0, whole.find("<MSG_THANK1>")), "line 3: the language group \"Deutsch\" (line 3) is cut short: the file ends before </TRANSLATION_ITEMS>"},
        {whole.substr(0, whole.find("</XML_DIZ_INFO>")), "the file ends before </XML_DIZ_INFO>: it is cut short"},
        {whole.substr(0, whole.find("</MSG_THANK1>") + 5), "line 7: the item MSG_THANK1 is not closed on its line by </MSG_THANK1>"},
        // A group whose closing tags went missing would swallow the next one.
        {germanFile(kGoodItems, "<LANGUAGE_GROUP>\r\n<LANGUAGE_NAME>x</LANGUAGE_NAME>\r\n<TRANSLATION_ITEMS>\r\n"
                                "</LANGUAGE_GROUP>\r\n</XML_DIZ_INFO>\r\n"),
         "line 14: the items of the language group \"x\" (line 11) end without </TRANSLATION_ITEMS>"},
        {"<XML_DIZ_INFO>\r\n<LANGUAGE_GROUP>\r\n<LANGUAGE_NAME>a</LANGUAGE_NAME>\r\n<LANGUAGE_GROUP>\r\n",
         "line 4: a new language group begins before the group \"a\" (line 2) is closed"},
    };
    for (const Cut& cut : cuts) {
        Languages lang = defaults();
        chooseGerman(lang, whole);
        LanguageState state = chooseGerman(lang, cut.file);
        ASSERT_FALSE(state.problems.empty()) << cut.says;
        EXPECT_NE(joined(state.problems).find(cut.says), std::string::npos) << joined(state.problems);
        expectBuiltInEnglish(lang);
    }
}

TEST(LocalizationProblems, AnUnknownKeyRefusesItsLanguageAndNamesTheKey) {
    Languages lang = defaults();
    LanguageState state = chooseGerman(lang, germanFile(kGoodItems + "\t\t<MSG_STPO>Halt</MSG_STPO>\r\n"));
    ASSERT_EQ(state.problems.size(), 1u);
    EXPECT_EQ(state.problems[0],
              "line 9: MSG_STPO is not a text of this program; is the key misspelt? (language \"Deutsch\")");
    expectBuiltInEnglish(lang);
}

TEST(LocalizationProblems, APlaceholderTheTextNeedsMustNotGoMissingOrBeMisspelt) {
    struct Case {
        std::string item;
        std::string says;  // "" when the item is fine
    };
    const std::vector<Case> cases{
        {"<MSG_THANK1>Danke!</MSG_THANK1>", "the text of MSG_THANK1 lacks the placeholder [ProgramName]"},
        {"<FRMMAIN_LBLSUMMARYTHREATS>Bedrohungen</FRMMAIN_LBLSUMMARYTHREATS>", "lacks the placeholder [Count]"},
        {"<MSG_THANK1>Danke f\xC3\xBCr [ProgramNme]!</MSG_THANK1>", "uses [ProgramNme], which is not a placeholder"},
        {"<MSG_STOP>[Count] abbrechen?</MSG_STOP>", "uses the placeholder [Count], which has no value here"},
        // Letter case, the older "[Company]" and the product's names anywhere are fine.
        {"<MSG_THANK1>Danke f\xC3\xBCr [PROGRAMNAME]!</MSG_THANK1>", ""},
        {"<MSG_CAPTION>[ProgramName] von [CompanyName]</MSG_CAPTION>", ""},
        {"<MSG_FOUND1>[ProgramName] hat [</MSG_FOUND1>", ""},  // a lone bracket is text
    };
    for (const Case& c : cases) {
        Languages lang = defaults();
        LanguageState state = chooseGerman(lang, germanFile(c.item + "\r\n"));
        if (c.says.empty()) {
            EXPECT_TRUE(state.problems.empty()) << c.item << "\n" << joined(state.problems);
            continue;
        }
        ASSERT_FALSE(state.problems.empty()) << c.item;
        EXPECT_NE(joined(state.problems).find(c.says), std::string::npos) << joined(state.problems);
        EXPECT_EQ(state.problems[0].substr(0, 7), "line 6:");
        expectBuiltInEnglish(lang);
    }
}

TEST(LocalizationProblems, BytesThatAreNotUtf8RefuseTheWholeFile) {
    const std::vector<std::pair<std::string, std::string>> bad{
        {"<MSG_STOP>Gr\xF6\xDF" "e</MSG_STOP>", "byte 0xF6"},  // saved as Latin-1
        {"<MSG_STOP>\xC0\xAF</MSG_STOP>", "byte 0xC0"},         // an overlong "/"
        {"<MSG_STOP>\xED\xA0\x80</MSG_STOP>", "byte 0xED"},     // a lone surrogate
    };
    for (const auto& [item, says] : bad) {
        Languages lang = defaults();
        LanguageState state = chooseGerman(lang, germanFile(kGoodItems + item + "\r\n"));
        ASSERT_EQ(state.problems.size(), 1u) << says;
        EXPECT_EQ(state.problems[0].substr(0, 7), "line 9:") << state.problems[0];
        EXPECT_NE(state.problems[0].find(says), std::string::npos) << state.problems[0];
        EXPECT_NE(state.problems[0].find("save it as UTF-8"), std::string::npos);
        expectBuiltInEnglish(lang);
    }
    Languages lang = defaults();
    EXPECT_FALSE(chooseGerman(lang, germanFile(kGoodItems) + "\xE2\x82").problems.empty());  // cut inside a character
}

TEST(LocalizationProblems, CharactersOutsideTheCodePageShowAsQuestionMarksWithANote) {
    Languages lang = defaults();
    // "Zatrzymać?" in Polish: the c with acute has no Windows-1252 form.
    LanguageState state = chooseGerman(lang, germanFile("<MSG_SURE>Zatrzyma\xC4\x87?</MSG_SURE>\r\n"));
    EXPECT_TRUE(state.problems.empty());
    EXPECT_EQ(lang.getMessages(msg::MSG_SURE), "Zatrzyma??");
    ASSERT_EQ(state.notes.size(), 1u);
    EXPECT_EQ(state.notes[0], "the texts of \"Deutsch\" hold characters Windows-1252 cannot show, such as U+0107 on "
                              "line 6; they appear as \"?\"");
    // German needs none: umlauts, sharp s, German quotation marks and dashes all have a form.
    EXPECT_TRUE(chooseGerman(lang, germanFile("<MSG_SURE>\xE2\x80\x9E\xC3\x84\xC3\x9F\xE2\x80\x9C \xE2\x80\x93 \xE2\x80\xA6</MSG_SURE>\r\n"))
                    .notes.empty());
    EXPECT_EQ(lang.getMessages(msg::MSG_SURE), "\x84\xC4\xDF\x93 \x96 \x85");
}

TEST(LocalizationProblems, AFiftyMegabyteFileIsRefusedWithoutBeingRead) {
    test::TempDir dir;
    const std::filesystem::path big = dir.path() / "Localization.txt";
    {
        std::ofstream out(big, std::ios::binary);
        out << germanFile(kGoodItems);
    }
    std::filesystem::resize_file(big, 50u << 20);  // sparse: the tail is zero bytes
    HostFileSystem files;
    auto file = readLocalizationFile(files, big.string());
    ASSERT_TRUE(file);
    ASSERT_EQ(file->problems.size(), 1u);
    EXPECT_EQ(file->problems[0].describe(),
              "the file is 52428800 bytes long; a language file may have at most 4194304 bytes");
    Languages lang = defaults();
    EXPECT_EQ(applyLanguage(lang, file, "Deutsch").problems.size(), 1u);
    expectBuiltInEnglish(lang);
    // The same cap holds for text that did not come from a file (a server's reply).
    EXPECT_FALSE(parseLocalization(std::string(kLocalizationMaxBytes + 1, ' ')).usable());
    EXPECT_FALSE(readLocalizationFile(files, (dir.path() / "absent.txt").string()));  // none: no problem
}

TEST(LocaleLanguage, TheEnvironmentsLocaleChoosesAGroupByItsTag) {
    EXPECT_EQ(messageLocale("", "de_DE.UTF-8", "fr_FR.UTF-8"), "de_DE.UTF-8");
    EXPECT_EQ(messageLocale(nullptr, "", nullptr), "");

    ParsedLocalization file = parseLocalization(germanFile(kGoodItems));
    EXPECT_EQ(languageForLocale(file, "de_DE.UTF-8"), "Deutsch");
    EXPECT_EQ(languageForLocale(file, "de_AT@euro"), "Deutsch");
    for (const char* none : {"C", "POSIX", "C.UTF-8", "", "fr_FR.UTF-8", "den"})
        EXPECT_FALSE(languageForLocale(file, none)) << none;

    // A region's own group wins over the language's.
    std::string two = germanFile(kGoodItems);
    two.insert(two.find("</XML_DIZ_INFO>"), "<LANGUAGE_GROUP xml:lang='de-CH'>\r\n<LANGUAGE_NAME>Schweizerdeutsch"
                                           "</LANGUAGE_NAME>\r\n<TRANSLATION_ITEMS>\r\n</TRANSLATION_ITEMS>\r\n"
                                           "</LANGUAGE_GROUP>\r\n");
    EXPECT_EQ(languageForLocale(parseLocalization(two), "de_CH.UTF-8"), "Schweizerdeutsch");
    EXPECT_EQ(languageForLocale(parseLocalization(two), "de_DE.UTF-8"), "Deutsch");
}

}  // namespace
}  // namespace vedozer
