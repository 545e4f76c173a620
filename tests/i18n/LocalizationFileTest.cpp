#include <gtest/gtest.h>

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
    "\t\t<FRMMAIN_LVWFOUND_Col1>Name</FRMMAIN_LVWFOUND_Col1>\r\n"
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
    "\t\t<FRMMAIN_LVWFOUND_Col1>Nom</FRMMAIN_LVWFOUND_Col1>\r\n"
    "\t</TRANSLATION_ITEMS>\r\n"
    "</LANGUAGE_GROUP>\r\n"
    "</XML_DIZ_INFO>\r\n";

TEST(LocalizationFile, ListsLanguageNamesInFileOrder) {
    EXPECT_EQ(listLanguageNames(kFile), std::vector<std::string>({"English",
                                                                  "Fran\xE7"
                                                                  "ais"}));
    EXPECT_EQ(listLanguageNames("\xEF\xBB\xBF" + kFile).size(), 2u);
    EXPECT_TRUE(listLanguageNames("not a localization file").empty());
}

TEST(LocalizationFile, GroupNameMatchesWithoutRegardToCase) {
    auto items = findLanguageItems(kFile,
                                   "FRAN\xC7"
                                   "AIS");
    ASSERT_TRUE(items);
    Languages lang(kIdentity);
    lang.setTranslationLines(*items);
    EXPECT_EQ(lang.translationLookup("MSG_STOP"), "Voulez-vous arr\xEAter l'analyse ?");
    EXPECT_FALSE(findLanguageItems(kFile, "Deutsch"));
    EXPECT_FALSE(findLanguageItems(kFile, "Fran"));
}

TEST(LocalizationFile, LineFeedOnlyFilesWorkToo) {
    std::string lf;
    for (char c : kFile)
        if (c != '\r') lf += c;
    auto items = findLanguageItems(lf, "English");
    ASSERT_TRUE(items);
    Languages lang(kIdentity);
    lang.setTranslationLines(*items);
    EXPECT_EQ(lang.translationLookup("FRMMAIN_LVWFOUND_COL1"), "Name");
    EXPECT_EQ(lang.translationLookup("MSG_STOP"), "Are you sure you want to stop the scan?");
}

TEST(LocalizationFile, LoaderKeepsPreviousLinesWhenTheGroupIsMissing) {
    Languages lang(kIdentity);
    EXPECT_TRUE(loadLanguage(lang, kFile, "english"));
    EXPECT_EQ(lang.currentLanguage(), "english");
    EXPECT_FALSE(loadLanguage(lang, kFile, "Deutsch"));
    EXPECT_EQ(lang.currentLanguage(), "Deutsch");
    EXPECT_EQ(lang.translationLookup("FRMMAIN_LVWFOUND_COL1"), "Name");
    EXPECT_FALSE(loadLanguage(lang, "", "English"));  // no file: defaults stay
}

TEST(LocalizationFile, ChangeLanguageTranslatesTheMessageTable) {
    Languages lang(kIdentity);
    lang.loadDefaultMessages();
    changeLanguage(lang, kFile,
                   "Fran\xE7"
                   "ais");
    EXPECT_EQ(lang.getMessages(msg::MSG_STOP), "Voulez-vous arr\xEAter l'analyse ?");
    EXPECT_EQ(lang.getMessages(msg::MSG_UPDATED_DEFS),
              "Vos d\xE9"
              "finitions Vedozer Anti-Spyware sont \xE0 jour");
    EXPECT_EQ(lang.getMessages(msg::MSG_SURE), "Are you sure?");
    EXPECT_EQ(lang.usedSlotCount(), 66u);
    changeLanguage(lang, kFile, "English");
    EXPECT_EQ(lang.getMessages(msg::MSG_STOP), "Are you sure you want to stop the scan?");
}

TEST(LocalizationFile, ChangeLanguageFallsBackToEnglishWhenNothingIsLoaded) {
    Languages lang(kIdentity);
    lang.loadDefaultMessages();
    changeLanguage(lang, kFile, "Klingon");
    EXPECT_EQ(lang.currentLanguage(), "English");
    EXPECT_EQ(lang.translationLookup("FRMMAIN_LVWFOUND_COL1"), "Name");
}

TEST(LocalizationFile, ServerReplyWithoutItemsIsNotAFile) {
    EXPECT_FALSE(localizationFromReply("<html>404 Not Found</html>"));
    EXPECT_FALSE(localizationFromReply(""));
    auto text = localizationFromReply("junk before\r\n" + kFile);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, kFile);
    EXPECT_EQ(localizationServerPath(), "Languages/21/Localization.txt");
}

TEST(LocalizationFile, ItemKeysAsTheGeneratorWritesThem) {
    EXPECT_EQ(captionItemKey("frmMain", "cmdScanNow"), "FRMMAIN_CMDSCANNOW");
    EXPECT_EQ(tabItemKey("frmMain", "TabStrip1", 2), "FRMMAIN_TABSTRIP1_TABS2");
    EXPECT_EQ(columnItemKey("frmMain", "lvwFound", 3), "FRMMAIN_LVWFOUND_Col3");
    EXPECT_EQ(indexedItemKey("frmMain", "optScan", 0), "FRMMAIN_OPTSCAN0");
}

TEST(LocalizationFile, GeneratedFileReadsBackAsTheSameTexts) {
    Languages lang(kIdentity);
    lang.loadDefaultMessages();
    auto items = messageItems(lang);
    ASSERT_EQ(items.size(), 66u);
    EXPECT_EQ(items[54], LocalizationItem("MSG_CAPTION", "[ProgramName] by [Company]"));
    items.emplace_back(columnItemKey("frmMain", "lvwFound", 1), "Caf\xE9\r\nline");
    std::string file = makeLocalizationFile(items);

    EXPECT_EQ(file.substr(0, 40), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
    EXPECT_NE(file.find("\r\n\t\t<MSG_STOP>Are you sure you want to stop the scan?</MSG_STOP>\r\n"),
              std::string::npos);
    EXPECT_NE(file.find("<FRMMAIN_LVWFOUND_Col1>Caf\xC3\xA9 line</FRMMAIN_LVWFOUND_Col1>"),
              std::string::npos);
    EXPECT_EQ(file.substr(file.size() - 17), "</XML_DIZ_INFO>\r\n");
    EXPECT_EQ(listLanguageNames(file), std::vector<std::string>({"English"}));

    Languages reread(kIdentity);
    reread.loadDefaultMessages();
    changeLanguage(reread, file, "English");
    for (const auto& slot : lang.slots()) {
        if (!slot.inUse) break;
        EXPECT_EQ(reread.getMessages(slot.key), lang.getMessages(slot.key)) << slot.key;
    }
    EXPECT_EQ(reread.translationLookup("FRMMAIN_LVWFOUND_COL1"), "Caf\xE9 line");
}

}  // namespace
}  // namespace vedozer
