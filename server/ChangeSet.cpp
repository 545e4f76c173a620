#include "ChangeSet.h"

#include <algorithm>
#include <cctype>

#include "definitions/LineCodec.h"
#include "text/Text.h"

namespace vedozer::server {

namespace {

const std::vector<std::string>& knownTypes() {
    static const std::vector<std::string> types = {"FILE", "EXE",   "DLL",  "REG",  "COOK", "DIR",
                                                   "SFILE", "SEXE", "SDLL", "SREG", "SDIR"};
    return types;
}

bool isSafeType(const std::string& type) { return type.size() > 1 && type[0] == 'S'; }

// Encodes the text between the separators "|" and "=", which stay plain.
std::string encodeFields(std::string_view payload) {
    std::string out;
    size_t start = 0;
    while (start <= payload.size()) {
        size_t sep = payload.find_first_of("|=", start);
        std::string_view field = payload.substr(start, sep == std::string_view::npos ? std::string_view::npos : sep - start);
        out += EncodeDefinitionLine(field);
        if (sep == std::string_view::npos) break;
        out += payload[sep];
        start = sep + 1;
    }
    return out;
}

std::string_view beforeFirst(std::string_view s, char c) { return s.substr(0, s.find(c)); }

// Characters a feed cannot carry inside a field: controls (they would also let "[BR]" or
// "[DEF]" appear once encoded) and the two codes that encode to the plain separators.
std::string checkCharacters(std::string_view payload) {
    for (unsigned char c : payload) {
        if (c < 32) return "control characters cannot be sent";
        if (c == 60 || c == 252) return std::string("the character \"") + static_cast<char>(c) +
                                        "\" cannot be sent (it encodes to a separator)";
    }
    if (!payload.empty() && EncodeDefinitionLine(payload.substr(payload.size() - 1)) == " ")
        return "the payload cannot end with a character that encodes to a blank";
    return {};
}

std::string checkChange(const Change& c) {
    if (c.payload.empty()) return "the payload is empty";
    if (auto bad = checkCharacters(c.payload); !bad.empty()) return bad;
    if (c.action == "DEL") return {};
    const std::string& p = c.payload;
    if (c.type == "REG") {
        size_t eq = p.rfind('=');
        if (eq == std::string::npos || eq == 0) return "a registry definition needs location=spyware name";
        if (p.find('^') > eq) return "a registry location needs hive number ^ key path";
        return {};
    }
    if (c.type == "COOK") return {};
    if (isSafeType(c.type)) {
        if (p.find('|') == std::string::npos) return "a safe-list entry needs name|location";
        return {};
    }
    if (p.find('=') == std::string::npos || p.front() == '=') return "the definition needs name=spyware name";
    if (c.type == "DIR" && p.find('|') == std::string::npos) return "a folder definition needs label=name|folder";
    return {};
}

}  // namespace

std::optional<DateValue> changeSetDate(std::string_view name) {
    if (!text::iendsWith(name, ".txt")) return std::nullopt;
    std::string_view stem = name.substr(0, name.size() - 4);
    auto digits = [](std::string_view s) {
        return !s.empty() && std::all_of(s.begin(), s.end(), [](char ch) { return std::isdigit(static_cast<unsigned char>(ch)); });
    };
    if (stem.size() != 10 && stem.size() != 17) return std::nullopt;
    if (stem[4] != '-' || stem[7] != '-' || !digits(stem.substr(0, 4)) || !digits(stem.substr(5, 2)) ||
        !digits(stem.substr(8, 2)))
        return std::nullopt;
    std::string iso = std::string(stem.substr(0, 10));
    if (stem.size() == 17) {
        if (stem[10] != '_' || !digits(stem.substr(11, 6))) return std::nullopt;
        iso += " " + std::string(stem.substr(11, 2)) + ":" + std::string(stem.substr(13, 2)) + ":" +
               std::string(stem.substr(15, 2));
    }
    return ParseGeneralDate(iso);
}

ChangeSet parseChangeSet(std::string_view text, const std::string& fileName, const DateValue& date) {
    ChangeSet set{date, fileName, {}};
    int lineNumber = 0;
    for (std::string& raw : text::split(text, "\n")) {
        ++lineNumber;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        std::string line = text::trim(raw);
        if (line.empty() || line[0] == '#') continue;
        auto fail = [&](const std::string& why) {
            throw RepositoryError(fileName + ":" + std::to_string(lineNumber) + ": " + why);
        };
        size_t a = line.find(' ');
        if (a == std::string::npos) fail("expected ACTION TYPE PAYLOAD");
        size_t b = line.find(' ', a + 1);
        if (b == std::string::npos) fail("expected ACTION TYPE PAYLOAD");
        Change c{line.substr(0, a), line.substr(a + 1, b - a - 1), line.substr(b + 1), lineNumber};
        if (c.action != "ADD" && c.action != "DEL") fail("the action must be ADD or DEL, not \"" + c.action + "\"");
        const auto& types = knownTypes();
        if (std::find(types.begin(), types.end(), c.type) == types.end()) fail("unknown type \"" + c.type + "\"");
        if (auto why = checkChange(c); !why.empty()) fail(why);
        set.changes.push_back(std::move(c));
    }
    return set;
}

std::string feedRecord(const Change& c) {
    std::string header = EncodeDefinitionLine(c.type) + "|" + c.action + "[DEF]";
    const std::string& p = c.payload;
    if (c.action == "ADD") {
        if (c.type == "REG") {
            size_t eq = p.rfind('=');
            std::string location = p.substr(0, eq);
            std::string rest = p.substr(eq + 1);
            std::string name(beforeFirst(rest, '|'));
            std::string type = rest.find('|') == std::string::npos ? "" : rest.substr(rest.find('|') + 1);
            return header + EncodeDefinitionLine(location + "^") + "=" + EncodeDefinitionLine(name) + "|" +
                   EncodeDefinitionLine(location) + "|" + EncodeDefinitionLine(type);
        }
        return header + encodeFields(p);
    }
    // A removal names the key of the stored line: its decoded text before the first "=".
    if (c.type == "REG") {
        std::string location = p.find('=') == std::string::npos ? p : p.substr(0, p.rfind('='));
        return header + EncodeDefinitionLine(location + "^");
    }
    if (isSafeType(c.type)) return header + EncodeDefinitionLine(beforeFirst(c.type + "|" + p, '='));
    return header + EncodeDefinitionLine(beforeFirst(p, '='));
}

std::string buildFeed(const std::vector<ChangeSet>& sets, const DateValue& since) {
    std::vector<const ChangeSet*> newer;
    for (const auto& s : sets) {
        if (s.date > since) newer.push_back(&s);
    }
    std::stable_sort(newer.begin(), newer.end(), [](const ChangeSet* a, const ChangeSet* b) { return a->date < b->date; });
    std::string feed;
    for (const ChangeSet* s : newer) {
        for (const auto& c : s->changes) {
            if (!feed.empty()) feed += "[BR]";
            feed += feedRecord(c);
        }
    }
    return feed;
}

std::string fullDateText(const DateValue& d) {
    std::string text = FormatGeneralDate(d);
    if (d.hour == 0 && d.minute == 0 && d.second == 0) text += " 12:00:00 AM";
    return text;
}

}  // namespace vedozer::server
