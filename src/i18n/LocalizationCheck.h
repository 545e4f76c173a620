#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/LocalizationFile.h"
#include "i18n/LocalizationParser.h"

namespace vedozer {

// A language group held against this program's own texts.

// Every text a language file can translate, with its built-in English: the messages in their
// registration order, then every caption of the desktop windows.
const std::vector<LocalizationItem>& builtInTexts();

// The placeholders of a text ("[ProgramName]", "[Count]" ...), as written, in order.
std::vector<std::string> placeholdersOf(std::string_view text);

// What makes a group unusable: an item whose key is not a text of this program, a text that
// drops a placeholder its English text has, or one that uses a placeholder that does not exist.
std::vector<LocalizationProblem> checkGroup(const LanguageGroup& group,
                                            const std::vector<LocalizationItem>& builtIn = builtInTexts());

// The keys of the built-in texts the group gives no text for (they show in English), in the
// built-in order.
std::vector<std::string> missingKeys(const LanguageGroup& group,
                                     const std::vector<LocalizationItem>& builtIn = builtInTexts());

// A whole file held against the program's texts: what a translator needs to finish a language.
struct LanguageReport {
    std::string name;
    std::string tag;
    std::vector<std::string> problems;  // why the language cannot be used ("line 12: ...")
    std::vector<std::string> missing;   // keys without a text (shown in English)
    std::string note;                   // characters shown as "?", "" when none
};
struct LocalizationReport {
    bool exists = false;
    std::vector<std::string> fileProblems;  // the file as a whole cannot be used
    std::vector<LanguageReport> languages;

    bool complete() const;  // usable, and every language has every text
};
LocalizationReport reportOn(const std::optional<ParsedLocalization>& file,
                            const std::vector<LocalizationItem>& builtIn = builtInTexts());

}  // namespace vedozer
