#include "definitions/DefinitionRecords.h"

#include "text/Text.h"

namespace vedozer {

namespace {

std::string reduceBackslashes(std::string s) {
    if (s.find("\\\\") == std::string::npos) return s;
    return text::replaceAll(s, "\\\\", "\\");
}

// The index-th piece of s between separators, as text::split would give it; empty past the last.
std::string_view piece(std::string_view s, char separator, size_t index) {
    size_t start = 0;
    for (; index > 0; --index) {
        size_t next = s.find(separator, start);
        if (next == std::string_view::npos) return {};
        start = next + 1;
    }
    return s.substr(start, s.find(separator, start) - start);
}

// "[drive]" and tokens expanded, then doubled backslashes reduced: the form of every location.
std::string expandLocation(std::string_view location, const LocationExpander& expander,
                           bool replaceDrive = true) {
    return reduceBackslashes(expander.expand(location, replaceDrive));
}

std::optional<int> wholeNumber(std::string_view text) {
    std::string t = text::trim(text);
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    if (i == t.size()) return std::nullopt;
    long long value = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return std::nullopt;
        value = value * 10 + (t[i] - '0');
        if (value > 1000000) return std::nullopt;  // far outside the table either way
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace

std::optional<RootKey> rootKeyFromNumber(std::string_view text) {
    auto n = wholeNumber(text);
    if (!n || *n < 0 || *n > 5) return std::nullopt;
    static const RootKey kRoots[] = {RootKey::ClassesRoot, RootKey::CurrentUser,   RootKey::LocalMachine,
                                     RootKey::Users,       RootKey::CurrentConfig, RootKey::DynData};
    return kRoots[*n];
}

std::string hiveNameFromNumber(std::string_view text) {
    auto root = rootKeyFromNumber(text);
    return root ? rootKeyName(*root) : "";
}

std::optional<RegistryDefinition> parseRegistryDefinition(std::string_view line,
                                                          const LocationExpander& expander) {
    size_t eq = line.rfind('=');
    if (eq == std::string_view::npos) return std::nullopt;
    auto fields = text::split(expander.expand(line.substr(0, eq)), "^");
    if (fields.size() < 3) return std::nullopt;
    if (text::trim(fields[0]).empty()) return std::nullopt;
    auto root = rootKeyFromNumber(fields[0]);
    if (!root) return std::nullopt;

    RegistryDefinition d;
    d.root = *root;
    d.rootName = rootKeyName(*root);
    d.keyPath = fields[1];
    d.valueName = reduceBackslashes(std::move(fields[2]));
    auto spyware = text::split(text::trim(line.substr(eq + 1)), "|");
    d.spywareName = spyware[0];
    if (spyware.size() > 1) d.type = spyware[1];
    return d;
}

FileDefinition parseFileDefinition(std::string_view line, const LocationExpander& expander) {
    FileDefinition d;
    std::string_view namePart = line;
    if (line.find('|') != std::string_view::npos) {
        namePart = piece(line, '|', 0);
        d.location = expandLocation(piece(line, '|', 1), expander);
        d.type = piece(line, '|', 2);
    }
    d.item = text::trim(piece(namePart, '=', 0));
    d.spywareName = piece(namePart, '=', 1);
    if (d.location.empty()) {
        d.path = reduceBackslashes(d.item);
    } else {
        std::string path;
        path.reserve(d.location.size() + 1 + d.item.size());
        path.append(d.location).append(1, '\\').append(d.item);
        d.path = reduceBackslashes(std::move(path));
    }
    return d;
}

std::optional<DirectoryDefinition> parseDirectoryDefinition(std::string_view line,
                                                            const LocationExpander& expander) {
    if (line.find('|') == std::string_view::npos) return std::nullopt;
    std::string location = expandLocation(piece(line, '|', 1), expander);
    if (location.empty()) return std::nullopt;

    DirectoryDefinition d;
    const std::string_view names = piece(line, '|', 0);
    std::string label = text::trim(piece(names, '=', 0));
    if (label.find_first_of("\r\n\t") != std::string::npos)
        for (const char* cut : {"\r\n", "\r", "\n", "\t"}) label = text::replaceAll(label, cut, "");
    d.label = label;
    d.spywareName = piece(names, '=', 1);
    d.type = piece(line, '|', 2);
    d.path = reduceBackslashes(std::move(location));
    return d;
}

std::optional<ExeDefinition> parseExeDefinition(std::string_view line, const LocationExpander& expander) {
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    ExeDefinition d;
    d.fileName = std::string(line.substr(0, eq));
    std::string_view rest = line.substr(eq + 1);
    // The rest is cut at the next "=" as well: the spyware name and folder hold none.
    rest = rest.substr(0, rest.find('='));
    auto fields = text::split(rest, "|");
    d.spywareName = fields[0];
    std::string folder = fields.size() > 1 ? fields[1] : std::string(rest);
    d.path = reduceBackslashes(expander.expand(folder, false) + "\\" + d.fileName);
    return d;
}

SafetyLine parseSafetyLine(std::string_view line, std::string_view previousType,
                           const LocationExpander& expander) {
    SafetyLine out;
    std::string nameField;
    std::string location;
    if (line.find('|') != std::string_view::npos) {
        auto fields = text::split(line, "|");
        out.type = fields[0];
        nameField = fields[1];
        if (fields.size() > 2) location = expandLocation(fields[2], expander);
    } else {
        out.type = std::string(previousType);
        nameField = std::string(line);
    }
    auto clean = [](std::string s) { return text::replaceAll(reduceBackslashes(s), "//", "/"); };

    if (out.type == "SFILE" || out.type == "SEXE" || out.type == "SDLL") {
        if (location.empty())
            out.entry = text::trim(text::split(nameField, "=")[0]);
        else
            out.entry = clean(location);
    } else if (out.type == "SREG") {
        if (location.empty()) return out;
        auto parts = text::split(location, "^");
        std::string entry = hiveNameFromNumber(parts[0]) + "\\" + (parts.size() > 1 ? parts[1] : "");
        if (parts.size() > 2) entry += "\\" + parts[2];
        out.entry = clean(entry);
    } else if (out.type == "SDIR") {
        out.entry = clean(location);
    }
    return out;
}

}  // namespace vedozer
