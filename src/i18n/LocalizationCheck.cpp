#include "i18n/LocalizationCheck.h"

#include <algorithm>
#include <unordered_map>

#include "i18n/Captions.h"
#include "i18n/DefaultMessages.h"
#include "text/Text.h"

namespace vedozer {

namespace {

// The placeholders the catalogue and the presenters fill in. "[Company]" is the older spelling
// of "[CompanyName]"; either stands for the other.
constexpr std::string_view kPlaceholders[] = {"[PROGRAMNAME]", "[COMPANYNAME]", "[COMPANY]",
                                              "[WEBSITE]",     "[COUNT]",       "[DATE]"};

std::string canonicalPlaceholder(std::string_view token) {
    std::string upper = text::toUpper(token);
    return upper == "[COMPANY]" ? "[COMPANYNAME]" : upper;
}

bool isPlaceholder(std::string_view token) {
    std::string upper = text::toUpper(token);
    return std::find(std::begin(kPlaceholders), std::end(kPlaceholders), upper) != std::end(kPlaceholders);
}

// The product's names fill these in any text; the others only where the English text has them.
bool isIdentityPlaceholder(std::string_view token) {
    std::string c = canonicalPlaceholder(token);
    return c == "[PROGRAMNAME]" || c == "[COMPANYNAME]" || c == "[WEBSITE]";
}

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

using EnglishByKey = std::unordered_map<std::string, const std::string*>;

EnglishByKey indexByKey(const std::vector<LocalizationItem>& builtIn) {
    EnglishByKey index;
    for (const auto& [key, english] : builtIn) index.emplace(text::toUpper(key), &english);
    return index;
}

bool contains(const std::vector<std::string>& canonical, const std::string& token) {
    return std::find(canonical.begin(), canonical.end(), canonicalPlaceholder(token)) != canonical.end();
}

std::vector<std::string> canonicalSet(const std::vector<std::string>& tokens) {
    std::vector<std::string> out;
    for (const auto& t : tokens) out.push_back(canonicalPlaceholder(t));
    return out;
}

}  // namespace

const std::vector<LocalizationItem>& builtInTexts() {
    static const std::vector<LocalizationItem> texts = [] {
        std::vector<LocalizationItem> out;
        for (const DefaultMessage& m : defaultMessages()) out.emplace_back(m.key, m.text);
        for (auto& item : captionItems()) out.push_back(std::move(item));
        return out;
    }();
    return texts;
}

std::vector<std::string> placeholdersOf(std::string_view s) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '[') continue;
        std::size_t j = i + 1;
        while (j < s.size() && isAsciiLetter(s[j])) ++j;
        if (j > i + 1 && j < s.size() && s[j] == ']') {
            out.emplace_back(s.substr(i, j - i + 1));
            i = j;
        }
    }
    return out;
}

std::vector<LocalizationProblem> checkGroup(const LanguageGroup& group, const std::vector<LocalizationItem>& builtIn) {
    const EnglishByKey english = indexByKey(builtIn);
    std::vector<LocalizationProblem> problems;
    const std::string where = " (language \"" + group.name + "\")";
    for (const TranslationItem& item : group.items) {
        auto found = english.find(text::toUpper(item.key));
        if (found == english.end()) {
            problems.push_back({item.line, item.key + " is not a text of this program; is the key misspelt?" + where});
            continue;
        }
        if (item.text.empty()) continue;  // leaves the built-in text
        const std::vector<std::string> wanted = canonicalSet(placeholdersOf(*found->second));
        const std::vector<std::string> used = canonicalSet(placeholdersOf(item.text));
        for (const std::string& token : placeholdersOf(*found->second)) {
            if (!contains(used, token))
                problems.push_back({item.line, "the text of " + item.key + " lacks the placeholder " + token +
                                                   " that its English text has" + where});
        }
        for (const std::string& token : placeholdersOf(item.text)) {
            if (!isPlaceholder(token))
                problems.push_back({item.line, "the text of " + item.key + " uses " + token +
                                                   ", which is not a placeholder; is it misspelt?" + where});
            else if (!isIdentityPlaceholder(token) && !contains(wanted, token))
                problems.push_back({item.line, "the text of " + item.key + " uses the placeholder " + token +
                                                   ", which has no value here" + where});
        }
    }
    return problems;
}

std::vector<std::string> missingKeys(const LanguageGroup& group, const std::vector<LocalizationItem>& builtIn) {
    std::unordered_map<std::string, bool> translated;
    for (const TranslationItem& item : group.items)
        if (!item.text.empty()) translated[text::toUpper(item.key)] = true;
    std::vector<std::string> missing;
    for (const auto& entry : builtIn)
        if (!translated.count(text::toUpper(entry.first))) missing.push_back(entry.first);
    return missing;
}

bool LocalizationReport::complete() const {
    if (!exists || !fileProblems.empty()) return false;
    for (const LanguageReport& l : languages)
        if (!l.problems.empty() || !l.missing.empty() || !l.note.empty()) return false;
    return true;
}

LocalizationReport reportOn(const std::optional<ParsedLocalization>& file, const std::vector<LocalizationItem>& builtIn) {
    LocalizationReport report;
    report.exists = file.has_value();
    if (!file) return report;
    for (const auto& p : file->problems) report.fileProblems.push_back(p.describe());
    if (!file->usable()) return report;
    for (const LanguageGroup& group : file->groups) {
        LanguageReport l{group.name, group.tag, {}, missingKeys(group, builtIn), unrepresentableNote(group)};
        for (const auto& p : checkGroup(group, builtIn)) l.problems.push_back(p.describe());
        report.languages.push_back(std::move(l));
    }
    return report;
}

}  // namespace vedozer
