#include "i18n/LocalizationFile.h"

#include "text/CodePage.h"
#include "text/Text.h"

namespace vedozer {

namespace {

constexpr std::string_view kGroupOpen = "<LANGUAGE_GROUP";
constexpr std::string_view kGroupClose = "</LANGUAGE_GROUP>";
constexpr std::string_view kNameOpen = "<LANGUAGE_NAME>";
constexpr std::string_view kNameClose = "</LANGUAGE_NAME>";
constexpr std::string_view kItemsOpen = "<TRANSLATION_ITEMS>";
constexpr std::string_view kItemsClose = "</TRANSLATION_ITEMS>";

constexpr char kDescription[] =
    "Translate the text between the opening and the closing tag of each item and keep the tags as they "
    "are. The placeholders [ProgramName], [CompanyName] and [Website] are replaced by the product's names "
    "when the text is shown. Add a new LANGUAGE_GROUP with its own LANGUAGE_NAME for each language.";

// Text between the first open tag and the following close tag; nullopt when either is missing.
std::optional<std::string_view> between(std::string_view s, std::string_view open, std::string_view close) {
    size_t a = text::ifind(s, open);
    if (a == std::string_view::npos) return std::nullopt;
    a += open.size();
    size_t b = text::ifind(s, close, a);
    if (b == std::string_view::npos) return std::nullopt;
    return s.substr(a, b - a);
}

std::string_view withoutBom(std::string_view s) {
    if (s.substr(0, 3) == "\xEF\xBB\xBF") s.remove_prefix(3);
    return s;
}

// Each group of the file in order, to the next closing tag (or the end of the text).
template <typename F>
void forEachGroup(std::string_view file, F&& visit) {
    size_t pos = 0;
    while (true) {
        size_t start = text::ifind(file, kGroupOpen, pos);
        if (start == std::string_view::npos) return;
        size_t end = text::ifind(file, kGroupClose, start);
        std::string_view group =
            file.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!visit(group) || end == std::string_view::npos) return;
        pos = end + kGroupClose.size();
    }
}

std::string oneLine(std::string_view s) {
    std::string out = text::replaceAll(s, "\r\n", " ");
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

}  // namespace

std::string localizationServerPath() {
    return "Languages/" + std::to_string(kLocalizationProductNumber) + "/" + kLocalizationFileName;
}

std::vector<std::string> listLanguageNames(std::string_view utf8FileText) {
    std::vector<std::string> names;
    forEachGroup(withoutBom(utf8FileText), [&](std::string_view group) {
        if (auto name = between(group, kNameOpen, kNameClose)) names.push_back(text::utf8ToCp1252(*name));
        return true;
    });
    return names;
}

std::optional<std::vector<std::string>> findLanguageItems(std::string_view utf8FileText,
                                                          std::string_view languageName) {
    std::optional<std::vector<std::string>> result;
    forEachGroup(withoutBom(utf8FileText), [&](std::string_view group) {
        auto name = between(group, kNameOpen, kNameClose);
        if (!name || !text::iequals(text::utf8ToCp1252(*name), languageName)) return true;
        auto items = between(group, kItemsOpen, kItemsClose);
        if (!items) return true;
        std::vector<std::string> lines = text::split(text::utf8ToCp1252(*items), "\n");
        for (std::string& line : lines)
            if (!line.empty() && line.back() == '\r') line.pop_back();
        result = std::move(lines);
        return false;
    });
    return result;
}

bool loadLanguage(Languages& catalogue, std::string_view utf8FileText, std::string_view languageName) {
    catalogue.setCurrentLanguage(std::string(languageName));
    auto lines = findLanguageItems(utf8FileText, languageName);
    if (!lines) return false;
    catalogue.setTranslationLines(std::move(*lines));
    return true;
}

void changeLanguage(Languages& catalogue, std::string_view utf8FileText, std::string_view languageName) {
    loadLanguage(catalogue, utf8FileText, languageName);
    if (catalogue.translationLines().empty()) loadLanguage(catalogue, utf8FileText, "English");
    catalogue.applyTranslations();
}

std::optional<std::string> localizationFromReply(std::string_view reply) {
    if (reply.find(kItemsOpen) == std::string_view::npos) return std::nullopt;
    return std::string(reply.substr(reply.find('<')));
}

std::string captionItemKey(std::string_view window, std::string_view control) {
    return text::toUpper(std::string(window) + "_" + std::string(control));
}

std::string tabItemKey(std::string_view window, std::string_view control, int tab) {
    return captionItemKey(window, control) + "_TABS" + std::to_string(tab);
}

std::string columnItemKey(std::string_view window, std::string_view control, int column) {
    return captionItemKey(window, control) + "_Col" + std::to_string(column);
}

std::string indexedItemKey(std::string_view window, std::string_view control, int index) {
    return captionItemKey(window, control) + std::to_string(index);
}

std::vector<LocalizationItem> messageItems(const Languages& catalogue) {
    std::vector<LocalizationItem> items;
    for (const auto& slot : catalogue.slots())
        if (slot.inUse) items.emplace_back(slot.key, slot.text);
    return items;
}

std::string makeLocalizationFile(const std::vector<LocalizationItem>& items) {
    const std::string crlf = "\r\n";
    std::string out;
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + crlf;
    out += "<XML_DIZ_INFO>" + crlf;
    out += "\t<LOCALIZATION_FILE_INFO>" + crlf;
    out += "\t\t<LOCALIZATION_FILE_VERSION>1.0</LOCALIZATION_FILE_VERSION>" + crlf;
    out += "\t</LOCALIZATION_FILE_INFO>" + crlf;
    out += "<LANGUAGE_GROUP xml:lang=\"en\">" + crlf;
    out += "\t<LANGUAGE_NAME>English</LANGUAGE_NAME>" + crlf;
    out += std::string("\t<DESCRIPTION>") + kDescription + "</DESCRIPTION>" + crlf;
    out += "\t<TRANSLATION_ITEMS>" + crlf;
    for (const auto& [key, value] : items)
        out += "\t\t<" + text::cp1252ToUtf8(key) + ">" + text::cp1252ToUtf8(oneLine(value)) + "</" +
               text::cp1252ToUtf8(key) + ">" + crlf;
    out += "\t</TRANSLATION_ITEMS>" + crlf;
    out += "</LANGUAGE_GROUP>" + crlf;
    out += "</XML_DIZ_INFO>" + crlf;
    return out;
}

}  // namespace vedozer
