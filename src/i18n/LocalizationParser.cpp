#include "i18n/LocalizationParser.h"

#include <cstdio>
#include <optional>

#include "text/CodePage.h"
#include "text/Text.h"

namespace vedozer {

namespace {

constexpr std::size_t kMaxProblems = 50;

std::string hexByte(unsigned char c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", c);
    return buf;
}

std::string codePointName(char32_t cp) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    return buf;
}

// Offset of the first byte that does not begin a well-formed UTF-8 character (overlong forms,
// surrogates and values past U+10FFFF included); npos when every byte does.
std::size_t firstInvalidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t start = i;
        auto cp = text::nextUtf8(s, i);
        if (!cp) return start;
        std::size_t len = i - start;
        bool overlong = (len == 2 && *cp < 0x80) || (len == 3 && *cp < 0x800) || (len == 4 && *cp < 0x10000);
        if (overlong || (*cp >= 0xD800 && *cp <= 0xDFFF) || *cp > 0x10FFFF) return start;
    }
    return std::string_view::npos;
}

int lineOfOffset(std::string_view s, std::size_t offset) {
    int line = 1;
    for (std::size_t i = 0; i < offset && i < s.size(); ++i)
        if (s[i] == '\n') ++line;
    return line;
}

std::optional<char32_t> firstUnrepresentable(std::string_view utf8) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto cp = text::nextUtf8(utf8, i);
        if (!cp) return std::nullopt;  // validated before; cannot happen
        if (!text::byteOf(*cp)) return *cp;
    }
    return std::nullopt;
}

bool isKeyChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// True when the line is the tag (with attributes allowed when it has any).
bool isTag(std::string_view line, std::string_view tag) {
    if (!text::istartsWith(line, tag)) return false;
    if (line.size() == tag.size()) return true;
    char next = line[tag.size()];
    return next == '>' || next == ' ' || next == '\t';
}

// The value of xml:lang="..." on a group's opening line.
std::string languageTag(std::string_view line) {
    std::size_t at = text::ifind(line, "xml:lang=");
    if (at == std::string_view::npos) return "";
    at += 9;
    if (at >= line.size() || (line[at] != '"' && line[at] != '\'')) return "";
    char quote = line[at];
    std::size_t end = line.find(quote, at + 1);
    if (end == std::string_view::npos) return "";
    return text::trimWhitespace(line.substr(at + 1, end - at - 1));
}

class Parser {
public:
    explicit Parser(ParsedLocalization& out) : m_out(out) {}

    void problem(int line, std::string text) {
        if (m_out.problems.size() < kMaxProblems) m_out.problems.push_back({line, std::move(text)});
    }

    // False when the structure is broken past repair and reading must stop.
    bool take(int n, std::string_view line) {
        switch (m_state) {
            case State::Outside: return outside(n, line);
            case State::InGroup: return inGroup(n, line);
            case State::InItems: return inItems(n, line);
        }
        return false;
    }

    void finish() {
        if (m_state != State::Outside) {
            problem(m_group.line, "the language group " + groupLabel() + " is cut short: the file ends before " +
                                      (m_state == State::InItems ? "</TRANSLATION_ITEMS>" : "</LANGUAGE_GROUP>"));
            return;
        }
        if (!m_out.problems.empty()) return;
        if (m_out.groups.empty())
            problem(0, "the file holds no language group (<LANGUAGE_GROUP>), so it is not a language file");
        else if (!m_sawEnd)
            problem(0, "the file ends before </XML_DIZ_INFO>: it is cut short");
    }

private:
    enum class State { Outside, InGroup, InItems };

    std::string groupLabel() const {
        return (m_group.name.empty() ? std::string("without a name") : "\"" + m_group.name + "\"") + " (line " +
               std::to_string(m_group.line) + ")";
    }

    bool outside(int n, std::string_view line) {
        if (isTag(line, "<LANGUAGE_GROUP")) {
            m_group = LanguageGroup{};
            m_group.line = n;
            m_group.tag = languageTag(line);
            m_hasItems = false;
            m_state = State::InGroup;
        } else if (text::iequals(line, "</XML_DIZ_INFO>")) {
            m_sawEnd = true;
        } else if (isTag(line, "</LANGUAGE_GROUP") || isTag(line, "<TRANSLATION_ITEMS") ||
                   isTag(line, "</TRANSLATION_ITEMS") || text::istartsWith(line, "<LANGUAGE_NAME>")) {
            std::string tag = text::utf8ToCp1252(line.substr(0, 40));
            problem(n, tag + " stands outside a language group");
        }
        return true;
    }

    bool inGroup(int n, std::string_view line) {
        if (isTag(line, "<LANGUAGE_GROUP")) {
            problem(n, "a new language group begins before the group " + groupLabel() + " is closed");
            return false;
        }
        if (text::istartsWith(line, "<LANGUAGE_NAME>")) {
            std::size_t end = text::ifind(line, "</LANGUAGE_NAME>");
            if (end == std::string_view::npos) {
                problem(n, "the language name is not closed on its line by </LANGUAGE_NAME>");
                return true;
            }
            m_group.name = text::utf8ToCp1252(text::trimWhitespace(line.substr(15, end - 15)));
        } else if (isTag(line, "<TRANSLATION_ITEMS")) {
            if (m_hasItems) problem(n, "the language group " + groupLabel() + " has a second <TRANSLATION_ITEMS>");
            m_hasItems = true;
            m_state = State::InItems;
        } else if (isTag(line, "</TRANSLATION_ITEMS")) {
            problem(n, "</TRANSLATION_ITEMS> without its opening tag");
        } else if (isTag(line, "</LANGUAGE_GROUP")) {
            if (m_group.name.empty()) problem(m_group.line, "the language group of this line has no <LANGUAGE_NAME>");
            if (!m_hasItems) problem(m_group.line, "the language group " + groupLabel() + " has no <TRANSLATION_ITEMS>");
            m_out.groups.push_back(std::move(m_group));
            m_state = State::Outside;
        }
        return true;
    }

    bool inItems(int n, std::string_view line) {
        if (isTag(line, "</TRANSLATION_ITEMS")) {
            m_state = State::InGroup;
            return true;
        }
        if (isTag(line, "</LANGUAGE_GROUP") || isTag(line, "<LANGUAGE_GROUP")) {
            problem(n, "the items of the language group " + groupLabel() + " end without </TRANSLATION_ITEMS>");
            return false;
        }
        if (line.empty()) return true;
        item(n, line);
        return true;
    }

    void item(int n, std::string_view line) {
        std::size_t keyEnd = 1;
        while (keyEnd < line.size() && isKeyChar(line[keyEnd])) ++keyEnd;
        if (line[0] != '<' || keyEnd == 1 || keyEnd >= line.size() || line[keyEnd] != '>') {
            problem(n, "not an item: an item is <KEY>text</KEY> on one line");
            return;
        }
        std::string key(line.substr(1, keyEnd - 1));
        const std::string close = "</" + key + ">";
        if (line.size() < keyEnd + 1 + close.size() || !text::iendsWith(line, close)) {
            problem(n, "the item " + key + " is not closed on its line by " + close);
            return;
        }
        std::string_view body = line.substr(keyEnd + 1, line.size() - close.size() - keyEnd - 1);
        if (!m_group.unrepresentable) {
            if (auto cp = firstUnrepresentable(body)) {
                m_group.unrepresentable = *cp;
                m_group.unrepresentableLine = n;
            }
        }
        m_group.items.push_back({n, key, text::utf8ToCp1252(body)});
        m_group.itemLines.push_back(text::utf8ToCp1252(line));
    }

    ParsedLocalization& m_out;
    State m_state = State::Outside;
    LanguageGroup m_group;
    bool m_hasItems = false;
    bool m_sawEnd = false;
};

}  // namespace

std::string LocalizationProblem::describe() const {
    return line > 0 ? "line " + std::to_string(line) + ": " + text : text;
}

const LanguageGroup* ParsedLocalization::find(std::string_view name) const {
    for (const LanguageGroup& g : groups)
        if (text::iequals(g.name, name)) return &g;
    return nullptr;
}

std::vector<std::string> ParsedLocalization::names() const {
    std::vector<std::string> out;
    for (const LanguageGroup& g : groups) out.push_back(g.name);
    return out;
}

ParsedLocalization unreadableLocalization(std::string text) {
    ParsedLocalization out;
    out.problems.push_back({0, std::move(text)});
    return out;
}

ParsedLocalization parseLocalization(std::string_view bytes) {
    if (bytes.size() > kLocalizationMaxBytes)
        return unreadableLocalization("the file is " + std::to_string(bytes.size()) + " bytes long; a language file "
                                      "may have at most " + std::to_string(kLocalizationMaxBytes) + " bytes");
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    std::size_t bad = firstInvalidUtf8(bytes);
    if (bad != std::string_view::npos) {
        ParsedLocalization out;
        out.problems.push_back({lineOfOffset(bytes, bad),
                                "the file is not UTF-8 (byte " + hexByte(static_cast<unsigned char>(bytes[bad])) +
                                    " at offset " + std::to_string(bad) + "); save it as UTF-8"});
        return out;
    }
    ParsedLocalization out;
    Parser parser(out);
    int n = 0;
    std::size_t pos = 0;
    while (pos <= bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) end = bytes.size();
        ++n;
        if (!parser.take(n, text::trimWhitespace(bytes.substr(pos, end - pos)))) return out;
        pos = end + 1;
    }
    parser.finish();
    return out;
}

std::string unrepresentableNote(const LanguageGroup& group) {
    if (!group.unrepresentable) return "";
    return "the texts of \"" + group.name + "\" hold characters Windows-1252 cannot show, such as " +
           codePointName(group.unrepresentable) + " on line " + std::to_string(group.unrepresentableLine) +
           "; they appear as \"?\"";
}

}  // namespace vedozer
