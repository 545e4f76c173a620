#include "i18n/LocalizationFile.h"

#include "text/CodePage.h"
#include "text/Text.h"

namespace vedozer {

namespace {

constexpr std::string_view kItemsOpen = "<TRANSLATION_ITEMS>";

constexpr char kDescription[] =
    "Translate the text between the opening and the closing tag of each item and keep the tags as they "
    "are. The placeholders [ProgramName], [CompanyName] and [Website] are replaced by the product's names "
    "when the text is shown, [Count] and [Date] by a number and a date. Add a new LANGUAGE_GROUP with its "
    "own LANGUAGE_NAME and xml:lang code for each language.";

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

std::optional<std::string> localizationFromReply(std::string_view reply) {
    if (reply.find(kItemsOpen) == std::string_view::npos) return std::nullopt;
    return std::string(reply.substr(reply.find('<')));
}

std::string generatorKey(std::string_view key) {
    std::string out = text::toUpper(key);
    std::size_t col = out.rfind("_COL");
    if (col != std::string::npos && col + 4 < out.size() &&
        out.find_first_not_of("0123456789", col + 4) == std::string::npos)
        out.replace(col, 4, "_Col");
    return out;
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
    for (const auto& [key, value] : items) {
        const std::string k = text::cp1252ToUtf8(generatorKey(key));
        out += "\t\t<" + k + ">" + text::cp1252ToUtf8(oneLine(value)) + "</" + k + ">" + crlf;
    }
    out += "\t</TRANSLATION_ITEMS>" + crlf;
    out += "</LANGUAGE_GROUP>" + crlf;
    out += "</XML_DIZ_INFO>" + crlf;
    return out;
}

}  // namespace vedozer
