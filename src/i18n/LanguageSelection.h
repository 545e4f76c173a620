#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/Languages.h"
#include "i18n/LocalizationCheck.h"
#include "i18n/LocalizationParser.h"
#include "platform/FileSystem.h"

namespace vedozer {

// What the catalogue shows after a language was asked for, and why when it is not that language.
struct LanguageState {
    std::string requested;
    std::string applied;                // the group now shown; "" for the built-in English texts
    std::vector<std::string> problems;  // why the requested language is not shown (English)
    std::vector<std::string> notes;     // what to know although it is shown

    bool builtIn() const { return applied.empty(); }
};

// Reads and parses the localization file: nullopt when there is none. A file too large or
// unreadable comes back with that as its problem, without being read whole.
std::optional<ParsedLocalization> readLocalizationFile(FileSystem& files, const std::string& path);

// Loads the named language (the group's name compared without regard to case) into the catalogue:
// its captions and message texts. When there is no file, the file cannot be used, it has no such
// language or that language fails the check against the program's texts, the catalogue shows the
// built-in English texts and the state says why. "English" without a group of that name is the
// built-in English, with nothing to report.
LanguageState applyLanguage(Languages& catalogue, const std::optional<ParsedLocalization>& file,
                            std::string_view name, const std::vector<LocalizationItem>& builtIn = builtInTexts());

// The languages a person can choose: every group of a usable file, in file order, with the
// built-in "English" first when the file has no group of that name.
std::vector<std::string> availableLanguages(const std::optional<ParsedLocalization>& file);

// The locale the environment names for messages: the first of LC_ALL, LC_MESSAGES and LANG that is
// set and not empty ("" when none is).
std::string messageLocale(const char* lcAll, const char* lcMessages, const char* lang);

// The group a locale asks for: "de_DE.UTF-8" takes a group tagged "de-DE" (or "de_DE"), else one
// tagged "de". Nothing for "C", "POSIX", an empty locale or a file without a matching group.
std::optional<std::string> languageForLocale(const ParsedLocalization& file, std::string_view locale);

}  // namespace vedozer
