#include <gtest/gtest.h>

#include "i18n/Captions.h"
#include "i18n/LanguageSelection.h"
#include "i18n/LocalizationFile.h"
#include "i18n/MessageKeys.h"

namespace vedozer {
namespace {

const ProductIdentity kIdentity{"Vedozer Anti-Spyware", "Vedozer Labs", "http://www.vedozer.example"};

// Two groups as the generator lays them out, the second in UTF-8 with accents.
const std::string kFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<XML_DIZ_INFO>\r\n"
    "\t<LOCALIZATION_FILE_INFO>\r\n"
    "\t\t<LOCALIZATION_FILE_VERSION>1.0</LOCALIZATION_FILE_VERSION>\r\n"
    "\t</LOCALIZATION_FILE_INFO>\r\n"
    "<LANGUAGE_GROUP xml:lang=\"en\">\r\n"
    "\t<LANGUAGE_NAME>English</LANGUAGE_NAME>\r\n"
    "\t<DESCRIPTION>Default texts</DESCRIPTION>\r\n"
    "\t<TRANSLATION_ITEMS>\r\n"
    "\t\t<MSG_STOP>Are you sure you want to stop the scan?</MSG_STOP>\r\n"
    "\t\t<FRMMAIN_LVWHARDDRIVES_Col1>Drive</FRMMAIN_LVWHARDDRIVES_Col1>\r\n"
    "\t</TRANSLATION_ITEMS>\r\n"
    "</LANGUAGE_GROUP>\r\n"
    "<LANGUAGE_GROUP xml:lang=\"fr\">\r\n"
    "\t<LANGUAGE_NAME>Fran\xC3\xA7"
    "ais</LANGUAGE_NAME>\r\n"
    "\t<DESCRIPTION>Textes</DESCRIPTION>\r\n"
    "\t<TRANSLATION_ITEMS>\r\n"
    "\t\t<MSG_STOP>Voulez-vous arr\xC3\xAAter l'analyse ?</MSG_STOP>\r\n"
    "\t\t<MSG_UPDATED_DEFS>vos d\xC3\xA9"
    "finitions [programname] sont \xC3\xA0 jour</MSG_UPDATED_DEFS>\r\n"
    "\t\t<MSG_SURE></MSG_SURE>\r\n"
    "\t\t<FRMMAIN_LVWHARDDRIVES_Col1>Lecteur</FRMMAIN_LVWHARDDRIVES_Col1>\r\n"
    "\t</TRANSLATION_ITEMS>\r\n"
    "</LANGUAGE_GROUP>\r\n"
    "</XML_DIZ_INFO>\r\n";

const std::string kFrench = "Fran\xE7"
                            "ais";  // the group's name in Windows-1252

Languages defaults() {
    Languages lang(kIdentity);
    lang.loadDefaultMessages();
    return lang;
}

TEST(LocalizationFile, ListsLanguagesInFileOrderWithTheirTags) {
    ParsedLocalization file = parseLocalization(kFile);
    ASSERT_TRUE(file.usable()) << file.problems.front().describe();
    EXPECT_EQ(file.names(), std::vector<std::string>({"English", kFrench}));
    EXPECT_EQ(file.groups[1].tag, "fr");
    EXPECT_EQ(file.groups[1].line, 14);
    EXPECT_EQ(parseLocalization("\xEF\xBB\xBF" + kFile).names().size(), 2u);
    // A file without a line break before its end and with LF alone reads the same.
    std::string lf;
    for (char c : kFile)
        if (c != '\r') lf += c;
    EXPECT_EQ(parseLocalization(lf).names(), file.names());
    EXPECT_EQ(parseLocalization(lf.substr(0, lf.size() - 1)).names(), file.names());
}

TEST(LocalizationFile, ChoosingALanguageTranslatesMessagesAndCaptions) {
    Languages lang = defaults();
    // The saved name may differ from the group's in letter case.
    LanguageState state = applyLanguage(lang, parseLocalization(kFile),
                                        "FRAN\xC7"
                                        "AIS");
    EXPECT_TRUE(state.problems.empty());
    EXPECT_EQ(state.applied, kFrench);
    EXPECT_EQ(lang.currentLanguage(), kFrench);
    EXPECT_EQ(lang.getMessages(msg::MSG_STOP), "Voulez-vous arr\xEAter l'analyse ?");
    EXPECT_EQ(lang.getMessages(msg::MSG_UPDATED_DEFS),
              "Vos d\xE9"
              "finitions Vedozer Anti-Spyware sont \xE0 jour");
    EXPECT_EQ(lang.getMessages(msg::MSG_SURE), "Are you sure?");  // an empty item leaves the default
    EXPECT_EQ(lang.usedSlotCount(), 70u);
    // Captions: the "_Col" item answers the table's "_COL" key; untranslated ones stay English.
    EXPECT_EQ(captionText(lang, CaptionId::DriveColumn), "Lecteur");
    EXPECT_EQ(captionText(lang, CaptionId::FoundColumn), "Found");

    applyLanguage(lang, parseLocalization(kFile), "English");
    EXPECT_EQ(lang.getMessages(msg::MSG_STOP), "Are you sure you want to stop the scan?");
    EXPECT_EQ(captionText(lang, CaptionId::DriveColumn), "Drive");
}

TEST(LocalizationFile, AnAbsentLanguageOrFileGivesTheBuiltInEnglishAndSaysWhy) {
    Languages lang = defaults();
    applyLanguage(lang, parseLocalization(kFile), kFrench);
    LanguageState state = applyLanguage(lang, parseLocalization(kFile), "Klingon");
    EXPECT_TRUE(state.builtIn());
    ASSERT_EQ(state.problems.size(), 1u);
    EXPECT_EQ(state.problems[0], "the file has no language \"Klingon\"");
    EXPECT_EQ(lang.currentLanguage(), "English");
    EXPECT_EQ(lang.getMessages(msg::MSG_STOP), "Are you sure you want to stop the scan?");
    EXPECT_EQ(captionText(lang, CaptionId::DriveColumn), "Drive");

    state = applyLanguage(lang, std::nullopt, "Deutsch");
    EXPECT_EQ(state.problems, std::vector<std::string>{"there is no language file, so \"Deutsch\" cannot be shown"});
    // English needs no file at all.
    EXPECT_TRUE(applyLanguage(lang, std::nullopt, "english").problems.empty());
}

TEST(LocalizationFile, TheLanguagesToChooseFromAlwaysHoldEnglish) {
    EXPECT_EQ(availableLanguages(std::nullopt), std::vector<std::string>{"English"});
    EXPECT_EQ(availableLanguages(parseLocalization(kFile)), std::vector<std::string>({"English", kFrench}));
    std::string frenchOnly = kFile;
    frenchOnly.erase(frenchOnly.find("<LANGUAGE_GROUP xml:lang=\"en\">"),
                     frenchOnly.find("<LANGUAGE_GROUP xml:lang=\"fr\">") - frenchOnly.find("<LANGUAGE_GROUP"));
    EXPECT_EQ(availableLanguages(parseLocalization(frenchOnly)), std::vector<std::string>({"English", kFrench}));
    EXPECT_EQ(availableLanguages(parseLocalization("garbage")), std::vector<std::string>{"English"});
}

TEST(LocalizationFile, ServerReplyWithoutItemsIsNotAFile) {
    EXPECT_FALSE(localizationFromReply("<html>404 Not Found</html>"));
    EXPECT_FALSE(localizationFromReply(""));
    auto text = localizationFromReply("junk before\r\n" + kFile);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, kFile);
    EXPECT_EQ(localizationServerPath(), "Languages/21/Localization.txt");
}

TEST(LocalizationFile, KeysAsTheGeneratorWritesThem) {
    EXPECT_EQ(generatorKey("FrmMain_cmdScanNow"), "FRMMAIN_CMDSCANNOW");
    EXPECT_EQ(generatorKey("FrmMain_lvwHardDrives_COL12"), "FRMMAIN_LVWHARDDRIVES_Col12");
    EXPECT_EQ(generatorKey("FrmMain_TabStrip1_TABS2"), "FRMMAIN_TABSTRIP1_TABS2");
    EXPECT_EQ(generatorKey("frmMain_lblCOLOUR"), "FRMMAIN_LBLCOLOUR");  // not a column: no digits
}

TEST(LocalizationFile, TheGeneratedEnglishFileIsCompleteAndReadsBackAsTheSameTexts) {
    std::string file = makeLocalizationFile(builtInTexts());
    EXPECT_EQ(file.substr(0, 40), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
    EXPECT_NE(file.find("\r\n\t\t<MSG_STOP>Are you sure you want to stop the scan?</MSG_STOP>\r\n"), std::string::npos);
    EXPECT_NE(file.find("\t\t<FRMMAIN_LVWHARDDRIVES_Col1>Drive</FRMMAIN_LVWHARDDRIVES_Col1>\r\n"), std::string::npos);
    EXPECT_EQ(file.substr(file.size() - 17), "</XML_DIZ_INFO>\r\n");

    ParsedLocalization parsed = parseLocalization(file);
    ASSERT_TRUE(parsed.usable()) << parsed.problems.front().describe();
    ASSERT_EQ(parsed.names(), std::vector<std::string>{"English"});
    EXPECT_TRUE(checkGroup(parsed.groups[0]).empty());
    EXPECT_TRUE(missingKeys(parsed.groups[0]).empty());

    Languages lang = defaults();
    Languages reread = defaults();
    ASSERT_EQ(applyLanguage(reread, parsed, "English").applied, "English");
    for (const auto& slot : lang.slots()) {
        if (!slot.inUse) break;
        EXPECT_EQ(reread.getMessages(slot.key), lang.getMessages(slot.key)) << slot.key;
    }
    for (const CaptionEntry& e : captionTable())
        EXPECT_EQ(captionText(reread, e.id), captionText(lang, e.id)) << e.key;
}

TEST(LocalizationFile, LineBreaksInsideATextBecomeBlanks) {
    std::string file = makeLocalizationFile({{"MSG_STOP", "Caf\xE9\r\nline\nend"}});
    EXPECT_NE(file.find("<MSG_STOP>Caf\xC3\xA9 line end</MSG_STOP>"), std::string::npos);
}

}  // namespace
}  // namespace vedozer
