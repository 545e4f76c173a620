#include "definitions/PathTokens.h"

#include <unordered_map>

#include "text/Text.h"

namespace vedozer {

const std::array<PathToken, 30> kPathTokens = {{
    {"[startsp]", 29}, {"[appdata]", 26}, {"[recycle]", 10}, {"[comstar]", 30}, {"[comapp]", 35},
    {"[desktop]", 25}, {"[comdocs]", 46}, {"[comfav]", 31},  {"[comprog]", 23}, {"[comstam]", 22},
    {"[comtemp]", 45}, {"[cookies]", 33}, {"[comdesk]", 16}, {"[favorit]", 6},  {"[fonts]", 20},
    {"[history]", 34}, {"[netcach]", 32}, {"[progs]", 2},    {"[progfil]", 38}, {"[comprogfil]", 43},
    {"[personl]", 5},  {"[recent]", 8},   {"[sendto]", 9},   {"[startup]", 7},  {"[strtmnu]", 11},
    {"[system]", 37},  {"[templat]", 21}, {"[windir]", 36},  {"[user]", 11},    {"[alluser]", 22},
}};

namespace {

std::string cutAtNul(std::string s) {
    size_t nul = s.find('\0');
    if (nul != std::string::npos) s.resize(nul);
    return s;
}

}  // namespace

std::string SpecialFolderPath(ShellFolders& shell, int folder) {
    std::string path = cutAtNul(shell.folderPath(folder));
    if (path.empty()) return {};
    return path + "\\";
}

std::string SpecialFolderLocation(ShellFolders& shell, int folder) {
    std::string path = cutAtNul(shell.folderLocation(folder));
    if (path.empty()) return {};
    if (path.back() != '\\') path += '\\';
    return path;
}

std::string SystemDriveRoot(ShellFolders& shell) { return SpecialFolderLocation(shell, 2).substr(0, 3); }

namespace {

// Whether the token occurs in s. Every token begins with "[", so only the places of "[" are tried:
// a definition holds one or two, and thirty tokens are asked for each.
bool holdsToken(const std::string& s, std::string_view token, bool ignoreCase) {
    for (size_t at = s.find('['); at != std::string::npos; at = s.find('[', at + 1)) {
        std::string_view here = std::string_view(s).substr(at, token.size());
        if (ignoreCase ? text::iequals(here, token) : here == token) return true;
    }
    return false;
}

}  // namespace

std::string ExpandPathTokens(std::string_view text, ShellFolders& shell) {
    std::string out(text);
    if (out.find('[') == std::string::npos) return out;
    for (size_t i = 0; i < kCaseInsensitiveTokenCount; ++i) {
        const PathToken& t = kPathTokens[i];
        if (!holdsToken(out, t.token, true)) continue;
        out = text::ireplaceAll(out, t.token, SpecialFolderPath(shell, t.folder));
    }
    for (size_t i = kCaseInsensitiveTokenCount; i < kPathTokens.size(); ++i) {
        const PathToken& t = kPathTokens[i];
        if (!holdsToken(out, t.token, false)) continue;
        std::string profile = text::ireplaceAll(SpecialFolderPath(shell, t.folder), "\\Start Menu", "");
        out = text::replaceAll(out, t.token, profile);
    }
    return out;
}

struct ExpandedLocations {
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    using Map = std::unordered_map<std::string, std::string, Hash, std::equal_to<>>;
    Map withDrive, withoutDrive;
};

std::string LocationExpander::expand(std::string_view location, bool replaceDrive) const {
    if (location.find('[') == std::string_view::npos) return std::string(location);
    ExpandedLocations::Map* known = expanded ? &(replaceDrive ? expanded->withDrive : expanded->withoutDrive) : nullptr;
    if (known) {
        auto it = known->find(location);
        if (it != known->end()) return it->second;
    }
    std::string s = replaceDrive ? text::replaceAll(location, "[drive]", driveRoot) : std::string(location);
    if (expandTokens) s = expandTokens(s);
    if (known && known->size() < 65536) known->emplace(std::string(location), s);
    return s;
}

LocationExpander makeLocationExpander(ShellFolders& shell) {
    LocationExpander e;
    e.driveRoot = SystemDriveRoot(shell);
    e.expandTokens = [&shell](std::string_view s) { return ExpandPathTokens(s, shell); };
    e.expanded = std::make_shared<ExpandedLocations>();
    return e;
}

}  // namespace vedozer
