// The language file we ship: English exactly as built in, and every other language complete.
#include <gtest/gtest.h>

#include <filesystem>

#include "i18n/LanguageSelection.h"
#include "support/TempDir.h"
#include "text/CodePage.h"
#include "text/Text.h"

namespace vedozer {
namespace {

ParsedLocalization shipped() {
    return parseLocalization(test::readHostFile(std::filesystem::path(VEDOZER_SOURCE_DIR) / "data/Localization.txt"));
}

std::string listed(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += "\n  " + text::cp1252ToUtf8(l);
    return out;
}

TEST(ShippedLanguages, EnglishAndGermanInThatOrderWithTheirLanguageCodes) {
    ParsedLocalization file = shipped();
    ASSERT_TRUE(file.usable()) << file.problems.front().describe();
    ASSERT_EQ(file.names(), std::vector<std::string>({"English", "Deutsch"}));
    EXPECT_EQ(file.groups[0].tag, "en");
    EXPECT_EQ(file.groups[1].tag, "de");
}

// The test that lists what a language lacks: a caption or message added to the program shows up
// here by its key until every shipped language has a text for it.
TEST(ShippedLanguages, EveryLanguageHasEveryTextAndPassesTheCheck) {
    LocalizationReport report = reportOn(shipped());
    ASSERT_TRUE(report.fileProblems.empty()) << listed(report.fileProblems);
    for (const LanguageReport& language : report.languages) {
        EXPECT_TRUE(language.missing.empty()) << language.name << " lacks " << language.missing.size()
                                              << " texts:" << listed(language.missing);
        EXPECT_TRUE(language.problems.empty()) << language.name << ":" << listed(language.problems);
        EXPECT_EQ(language.note, "") << language.name;
    }
    EXPECT_TRUE(report.complete());
}

TEST(ShippedLanguages, TheEnglishGroupIsTheBuiltInTextsAsTheGeneratorWritesThem) {
    ParsedLocalization file = shipped();
    ASSERT_TRUE(file.usable());
    const LanguageGroup& english = file.groups.at(0);
    ASSERT_EQ(english.items.size(), builtInTexts().size());
    for (size_t i = 0; i < english.items.size(); ++i) {
        EXPECT_EQ(english.items[i].key, generatorKey(builtInTexts()[i].first));
        EXPECT_EQ(english.items[i].text, builtInTexts()[i].second) << builtInTexts()[i].first;
    }
}

TEST(ShippedLanguages, GermanIsATranslationNotACopy) {
    ParsedLocalization file = shipped();
    ASSERT_TRUE(file.usable());
    const LanguageGroup& german = file.groups.at(1);
    const LanguageGroup& english = file.groups.at(0);
    std::vector<std::string> sameKeys;
    for (const TranslationItem& item : german.items) {
        for (const TranslationItem& e : english.items)
            if (text::iequals(e.key, item.key) && e.text == item.text) sameKeys.push_back(item.key + " " + item.text);
    }
    // Names and words German shares with English ("OK", "Status", "Live Update", "Version" ...).
    EXPECT_LE(sameKeys.size(), 15u) << listed(sameKeys);
}

}  // namespace
}  // namespace vedozer
