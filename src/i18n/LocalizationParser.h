#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vedozer {

// Localization.txt read strictly, before any of it reaches the catalogue: a file that is cut
// short, not UTF-8 or far too large is refused as a whole, with the line that shows it.

// Real files are tens of kilobytes per language; anything past this is not a language file.
inline constexpr std::size_t kLocalizationMaxBytes = 4u << 20;

struct TranslationItem {
    int line = 0;
    std::string key;   // as written
    std::string text;  // Windows-1252, empty when the item leaves the built-in text
};

struct LanguageGroup {
    int line = 0;       // of its <LANGUAGE_GROUP> tag
    std::string name;   // Windows-1252
    std::string tag;    // its xml:lang attribute ("de", "pt-BR"), "" when it has none
    std::vector<TranslationItem> items;
    // The block's item lines in Windows-1252, as the catalogue's lookups read them.
    std::vector<std::string> itemLines;
    // The first character Windows-1252 has no form for (it shows as "?"), 0 when there is none.
    char32_t unrepresentable = 0;
    int unrepresentableLine = 0;
};

struct LocalizationProblem {
    int line = 0;      // 1-based; 0 for the file as a whole
    std::string text;  // English, Windows-1252
    // "line 12: ..." (just the text for the file as a whole).
    std::string describe() const;
};

struct ParsedLocalization {
    std::vector<LanguageGroup> groups;
    // While any is here the file is not used at all.
    std::vector<LocalizationProblem> problems;

    bool usable() const { return problems.empty(); }
    // The first group of that name, compared without regard to case; null when there is none.
    const LanguageGroup* find(std::string_view name) const;
    std::vector<std::string> names() const;
};

// Parses the bytes of a localization file (UTF-8, an optional byte-order mark, lines ended by
// CR LF or LF). Item texts are converted to Windows-1252; a character it cannot hold becomes "?".
ParsedLocalization parseLocalization(std::string_view bytes);

// What the person reads about a group with characters Windows-1252 cannot hold; "" when it has none.
std::string unrepresentableNote(const LanguageGroup& group);

// A problem for a file that could not be read at all (too large, unreadable).
ParsedLocalization unreadableLocalization(std::string text);

}  // namespace vedozer
