#include <gtest/gtest.h>

#include <set>
#include <string>

#include "i18n/DefaultMessages.h"
#include "i18n/MessageKeys.h"
#include "i18n/Languages.h"

namespace vedozer {
namespace {

const ProductIdentity kIdentity{"Vedozer Anti-Spyware", "Vedozer Labs", "http://www.vedozer.example"};

Languages defaults() {
    Languages lang(kIdentity);
    lang.loadDefaultMessages();
    return lang;
}

TEST(DefaultMessages, SeventyDistinctKeysInTheirFixedOrder) {
    const auto& table = defaultMessages();
    ASSERT_EQ(table.size(), 70u);
    EXPECT_STREQ(table[0].key, "MSG_THANK1");
    EXPECT_STREQ(table[0].text, "Thank you for using [ProgramName]!");
    EXPECT_STREQ(table[21].key, "MSG_STOP");
    EXPECT_STREQ(table[54].key, "MSG_CAPTION");
    EXPECT_STREQ(table[54].text, "[ProgramName] by [Company]");
    EXPECT_STREQ(table[57].key, "MSG_COOKIES_FINISHED");
    EXPECT_STREQ(table[57].text, "Finished Inpecting Cookies");
    EXPECT_STREQ(table[59].key, "MSG_NOTSELECED");
    EXPECT_STREQ(table[64].key, "MSG_COMPLETE");
    EXPECT_STREQ(table[64].text, "complete");
    EXPECT_STREQ(table[65].key, "MSG_CONFIRM_HIVES");  // the removal prompt on an offline installation
    EXPECT_STREQ(table[66].key, "MSG_TITLELANGUAGE");  // the language window and the language file
    EXPECT_STREQ(table[69].key, "MSG_LANGUAGE_NOT_UPDATED");
    std::set<std::string> keys;
    for (const auto& m : table) {
        EXPECT_EQ(std::string(m.key).rfind("MSG_", 0), 0u) << m.key;
        keys.insert(m.key);
    }
    EXPECT_EQ(keys.size(), 70u);
}

TEST(DefaultMessages, TextsKeepTheirExactSpacingAndPunctuation) {
    Languages lang = defaults();
    EXPECT_EQ(lang.getMessages(msg::MSG_PAUSED),
              "Vedozer Anti-Spyware has been paused.  Click OK to resume.");
    EXPECT_EQ(lang.getMessages(msg::MSG_FOUND2), "] using you system memory. Click YES to stop [");
    EXPECT_EQ(lang.getMessages(msg::MSG_REMOVING), "Removing : 0% Completed.");
    EXPECT_EQ(lang.getMessages(msg::MSG_CONFIRM4),
              "Start > Programs > Accessories > System Tools > System Restore");
    EXPECT_EQ(lang.getMessages(msg::MSG_DOWNLOADING), "Connecting to server/downloading.....");
}

TEST(Catalogue, DefaultsFillTheFirstSlotsUnchanged) {
    Languages lang = defaults();
    EXPECT_EQ(lang.usedSlotCount(), 70u);
    EXPECT_EQ(lang.slots()[0].key, "MSG_THANK1");
    EXPECT_EQ(lang.slots()[0].text, "Thank you for using [ProgramName]!");
    EXPECT_EQ(lang.slots()[64].text, "complete");
    EXPECT_FALSE(lang.slots()[70].inUse);
}

TEST(Catalogue, KeysCompareWithoutCase) {
    Languages lang = defaults();
    EXPECT_EQ(lang.getMessages("msg_stop"), "Are you sure you want to stop the scan?");
    EXPECT_EQ(lang.getMessages("Msg_Stop"), lang.getMessages("MSG_STOP"));
}

TEST(Catalogue, FirstLetterIsUpperCased) {
    Languages lang = defaults();
    EXPECT_EQ(lang.getMessages(msg::MSG_COMPLETE), "Complete");
    EXPECT_EQ(lang.getMessages(msg::MSG_ERROR_STOPPED).substr(0, 21), "Could not be stopped.");
    lang.setMessage("X", "\xE9tat");  // Windows-1252 e acute
    EXPECT_EQ(lang.getMessages("X"), "\xC9tat");
}

TEST(Catalogue, PlaceholdersAreSubstitutedInDefaultTexts) {
    Languages lang = defaults();
    EXPECT_EQ(lang.getMessages(msg::MSG_CAPTION), "Vedozer Anti-Spyware by Vedozer Labs");
    EXPECT_EQ(lang.getMessages(msg::MSG_WEBSITE), "Visit http://www.vedozer.example");
    EXPECT_EQ(lang.getMessages(msg::MSG_FOUND1), "Vedozer Anti-Spyware has found [");
    for (const auto& slot : lang.slots()) {
        if (!slot.inUse) break;
        std::string shown = lang.getMessages(slot.key);
        EXPECT_EQ(shown.find("[ProgramName]"), std::string::npos) << slot.key;
        EXPECT_EQ(shown.find("[Company"), std::string::npos) << slot.key;
        EXPECT_EQ(shown.find("[Website]"), std::string::npos) << slot.key;
    }
}

TEST(Catalogue, UnknownKeysYieldEmptyText) {
    Languages lang = defaults();
    EXPECT_EQ(lang.getMessages("MSG_NOT_REGISTERED"), "");
    EXPECT_EQ(lang.getMessages(""), "");
    // The language window's title and download notice have texts of their own.
    EXPECT_EQ(lang.getMessages(msg::MSG_TITLELANGUAGE), "Language");
    EXPECT_EQ(lang.getMessages(msg::MSG_DOWNLOADED), "The newest language file has been downloaded.");
    EXPECT_EQ(Languages(kIdentity).getMessages(msg::MSG_STOP), "");
}

TEST(Catalogue, TableHoldsTwoHundredOneSlotsAndDropsFurtherRegistrations) {
    Languages lang(kIdentity);
    for (int i = 0; i < 201; ++i) lang.setMessage("K" + std::to_string(i), "text " + std::to_string(i));
    EXPECT_EQ(lang.usedSlotCount(), 201u);
    EXPECT_EQ(lang.getMessages("K200"), "Text 200");
    lang.setMessage("K201", "dropped");
    EXPECT_EQ(lang.usedSlotCount(), 201u);
    EXPECT_EQ(lang.getMessages("K201"), "");
    EXPECT_EQ(lang.slots()[200].key, "K200");
}

TEST(Catalogue, RegisteringAKeyTwiceTakesTwoSlotsAndTheFirstWins) {
    Languages lang(kIdentity);
    lang.setMessage("MSG_A", "first");
    lang.setMessage("msg_a", "second");
    EXPECT_EQ(lang.usedSlotCount(), 2u);
    EXPECT_EQ(lang.getMessages("MSG_A"), "First");
    EXPECT_EQ(lang.slots()[1].key, "msg_a");
}

std::vector<std::string> frenchLines() {
    return {
        "\t\t<FRMMAIN_CMDSCANNOW>Analyser</FRMMAIN_CMDSCANNOW>",
        "",
        "\t\t<MSG_STOP>Voulez-vous arr\xEAter l'analyse ?</MSG_STOP>",
        "\t\t<MSG_UPDATED_DEFS>your [programname] definitions</MSG_UPDATED_DEFS>",
        "\t\t<MSG_SURE></MSG_SURE>",
        "\t\t<MSG_NOT_IN_TABLE>Nouveau</MSG_NOT_IN_TABLE>",
        "\t\t<FRMMAIN_LVWFOUND_Col1>Nom</FRMMAIN_LVWFOUND_Col1>",
        "\t\t<MSG_STOP>second line for the same key</MSG_STOP>",
        "\t\t<MSG_CAPTION>[ProgramName] de [CompanyName] - [website]</MSG_CAPTION>",
    };
}

TEST(TranslationLookup, FindsTheItemOfAKeyIgnoringCase) {
    Languages lang(kIdentity);
    lang.setTranslationLines(frenchLines());
    EXPECT_EQ(lang.translationLookup("FRMMAIN_CMDSCANNOW"), "Analyser");
    EXPECT_EQ(lang.translationLookup("frmMain_cmdScanNow"), "Analyser");
    EXPECT_EQ(lang.translationLookup("MSG_STOP"), "Voulez-vous arr\xEAter l'analyse ?");
}

TEST(TranslationLookup, ColumnItemsWrittenWithMixedCaseAreFound) {
    Languages lang(kIdentity);
    lang.setTranslationLines(frenchLines());
    EXPECT_EQ(lang.translationLookup("FRMMAIN_LVWFOUND_COL1"), "Nom");
}

TEST(TranslationLookup, SubstitutesPlaceholdersAndUpperCasesTheFirstLetter) {
    Languages lang(kIdentity);
    lang.setTranslationLines(frenchLines());
    EXPECT_EQ(lang.translationLookup("MSG_UPDATED_DEFS"), "Your Vedozer Anti-Spyware definitions");
    EXPECT_EQ(lang.translationLookup("MSG_CAPTION"),
              "Vedozer Anti-Spyware de Vedozer Labs - http://www.vedozer.example");
}

TEST(TranslationLookup, MissingOrEmptyItemsYieldEmptyText) {
    Languages lang(kIdentity);
    EXPECT_EQ(lang.translationLookup("MSG_STOP"), "");
    lang.setTranslationLines(frenchLines());
    EXPECT_EQ(lang.translationLookup("MSG_SURE"), "");
    EXPECT_EQ(lang.translationLookup("MSG_THANK1"), "");
    EXPECT_EQ(lang.translationLookup("MSG_STO"), "");  // a prefix of a key is not the key
    EXPECT_EQ(lang.translationLookup(""), "");
}

TEST(TranslationLookup, MalformedLinesDoNotProduceText) {
    Languages lang(kIdentity);
    lang.setTranslationLines(
        {"<MSG_STOP>never closed", "MSG_SURE>bare key</MSG_SURE>", "garbage", "<>", ">"});
    EXPECT_EQ(lang.translationLookup("MSG_STOP"), "");
    EXPECT_EQ(lang.translationLookup("MSG_SURE"), "");
}

TEST(TranslationLookup, TextMayContainAngleBracketsOfItsOwn) {
    Languages lang(kIdentity);
    lang.setTranslationLines({"\t\t<MSG_CONFIRM4>D\xE9marrer > Programmes > Outils</MSG_CONFIRM4>"});
    EXPECT_EQ(lang.translationLookup("MSG_CONFIRM4"), "D\xE9marrer > Programmes > Outils");
}

TEST(ApplyTranslations, ReplacesTranslatedTextsAndKeepsTheRest) {
    Languages lang = defaults();
    lang.setTranslationLines(frenchLines());
    lang.applyTranslations();
    EXPECT_EQ(lang.getMessages(msg::MSG_STOP), "Voulez-vous arr\xEAter l'analyse ?");
    EXPECT_EQ(lang.getMessages(msg::MSG_UPDATED_DEFS), "Your Vedozer Anti-Spyware definitions");
    EXPECT_EQ(lang.getMessages(msg::MSG_SURE), "Are you sure?");  // empty translation
    EXPECT_EQ(lang.getMessages(msg::MSG_THANK3), "Would you like to run Live Update now?");
}

TEST(ApplyTranslations, KeysOutsideTheTableAreNotAdded) {
    Languages lang = defaults();
    lang.setTranslationLines(frenchLines());
    lang.applyTranslations();
    EXPECT_EQ(lang.usedSlotCount(), 70u);
    EXPECT_EQ(lang.getMessages("MSG_NOT_IN_TABLE"), "");
    EXPECT_EQ(lang.getMessages("FRMMAIN_CMDSCANNOW"), "");
}

TEST(ApplyTranslations, SlotsKeepPlaceholdersSoIdentityStaysCurrent) {
    Languages lang = defaults();
    lang.setTranslationLines(frenchLines());
    lang.applyTranslations();
    EXPECT_EQ(lang.slots()[54].text, "[ProgramName] de [CompanyName] - [website]");
    lang.setIdentity({"Other", "Maker", "site"});
    EXPECT_EQ(lang.getMessages(msg::MSG_CAPTION), "Other de Maker - site");
}

TEST(ApplyTranslations, TranslationThatSubstitutesToNothingKeepsTheDefault) {
    Languages lang(ProductIdentity{});
    lang.loadDefaultMessages();
    lang.setTranslationLines({"<MSG_WEBSITE>[Website]</MSG_WEBSITE>"});
    lang.applyTranslations();
    EXPECT_EQ(lang.slots()[53].text, "Visit [Website]");
}

TEST(ApplyTranslations, SwitchingLanguageShowsTheRegisteredTextWhereTheNewOneHasNone) {
    Languages lang = defaults();
    lang.setTranslationLines(frenchLines());
    lang.applyTranslations();
    lang.setTranslationLines({"<MSG_THANK3>Jetzt aktualisieren?</MSG_THANK3>"});
    lang.applyTranslations();
    EXPECT_EQ(lang.getMessages(msg::MSG_THANK3), "Jetzt aktualisieren?");
    // Not the French text left over from before.
    EXPECT_EQ(lang.getMessages(msg::MSG_STOP), "Are you sure you want to stop the scan?");
    lang.setTranslationLines(frenchLines());
    lang.applyTranslations();
    lang.useBuiltInTexts();
    EXPECT_EQ(lang.getMessages(msg::MSG_STOP), "Are you sure you want to stop the scan?");
    EXPECT_EQ(lang.translationLookup("FRMMAIN_CMDSCANNOW"), "");
    EXPECT_EQ(lang.currentLanguage(), "English");
}

TEST(Catalogue, CurrentLanguageStartsAsEnglish) {
    Languages lang(kIdentity);
    EXPECT_EQ(lang.currentLanguage(), "English");
    lang.setCurrentLanguage("Deutsch");
    EXPECT_EQ(lang.currentLanguage(), "Deutsch");
}

}  // namespace
}  // namespace vedozer

namespace vedozer {
namespace {

TEST(UpperFirst, TheFirstLetterOfTheCodePageIsUpperCased) {
    EXPECT_EQ(upperFirst("\xE9t\xE9"), "\xC9t\xE9");
    EXPECT_EQ(upperFirst("\xFF"), "\x9F");
    EXPECT_EQ(upperFirst(""), "");
}

}  // namespace
}  // namespace vedozer
