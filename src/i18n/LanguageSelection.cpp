#include "i18n/LanguageSelection.h"

#include "text/Text.h"

namespace vedozer {

namespace {

bool isEnglish(std::string_view name) { return text::iequals(name, "English"); }

// "de_DE.UTF-8@euro" -> "de-de"; tags compare with "_" and "-" alike and without regard to case.
std::string normalTag(std::string_view tag) {
    std::string out = text::toLower(tag.substr(0, tag.find_first_of(".@")));
    for (char& c : out)
        if (c == '_') c = '-';
    return out;
}

}  // namespace

std::optional<ParsedLocalization> readLocalizationFile(FileSystem& files, const std::string& path) {
    auto info = files.lookup(path);
    if (!info) return std::nullopt;
    if (info->isDirectory()) return unreadableLocalization("it is a folder, not a file");
    if (info->size > kLocalizationMaxBytes)
        return unreadableLocalization("the file is " + std::to_string(info->size) + " bytes long; a language file may "
                                      "have at most " + std::to_string(kLocalizationMaxBytes) + " bytes");
    auto bytes = files.readAll(path, kLocalizationMaxBytes);
    if (!bytes) return unreadableLocalization("the file cannot be read");
    return parseLocalization(*bytes);
}

LanguageState applyLanguage(Languages& catalogue, const std::optional<ParsedLocalization>& file, std::string_view name,
                            const std::vector<LocalizationItem>& builtIn) {
    LanguageState state;
    state.requested = std::string(name);
    auto builtInEnglish = [&](std::vector<std::string> why) {
        catalogue.useBuiltInTexts();
        state.problems = std::move(why);
        return state;
    };
    if (!file) {
        if (isEnglish(name)) return builtInEnglish({});
        return builtInEnglish({"there is no language file, so \"" + std::string(name) + "\" cannot be shown"});
    }
    if (!file->usable()) {
        std::vector<std::string> why;
        for (const auto& p : file->problems) why.push_back(p.describe());
        return builtInEnglish(std::move(why));
    }
    const LanguageGroup* group = file->find(name);
    if (!group) {
        if (isEnglish(name)) return builtInEnglish({});
        return builtInEnglish({"the file has no language \"" + std::string(name) + "\""});
    }
    if (auto problems = checkGroup(*group, builtIn); !problems.empty()) {
        std::vector<std::string> why;
        for (const auto& p : problems) why.push_back(p.describe());
        return builtInEnglish(std::move(why));
    }
    catalogue.setTranslationLines(group->itemLines);
    catalogue.setCurrentLanguage(group->name);
    catalogue.applyTranslations();
    state.applied = group->name;
    if (std::string note = unrepresentableNote(*group); !note.empty()) state.notes.push_back(note);
    return state;
}

std::vector<std::string> availableLanguages(const std::optional<ParsedLocalization>& file) {
    std::vector<std::string> names;
    if (file && file->usable()) names = file->names();
    if (!file || !file->usable() || !file->find("English")) names.insert(names.begin(), "English");
    return names;
}

std::string messageLocale(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang})
        if (value && *value) return value;
    return "";
}

std::optional<std::string> languageForLocale(const ParsedLocalization& file, std::string_view locale) {
    const std::string wanted = normalTag(locale);
    if (wanted.empty() || wanted == "c" || wanted == "posix" || !file.usable()) return std::nullopt;
    const std::string primary = wanted.substr(0, wanted.find('-'));
    for (const std::string& tag : {wanted, primary})
        for (const LanguageGroup& g : file.groups)
            if (!g.tag.empty() && normalTag(g.tag) == tag) return g.name;
    return std::nullopt;
}

}  // namespace vedozer
