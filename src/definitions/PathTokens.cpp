#include "definitions/PathTokens.h"

#include <array>
#include <memory>
#include <optional>
#include <vector>

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

// Where "[" occurs in s: every token begins with it, so only those places are tried (a definition
// holds one or two, and thirty tokens are asked for each).
void bracketsIn(const std::string& s, std::vector<size_t>& at) {
    at.clear();
    for (size_t p = s.find('['); p != std::string::npos; p = s.find('[', p + 1)) at.push_back(p);
}

bool holdsToken(const std::string& s, const std::vector<size_t>& brackets, std::string_view token, bool ignoreCase) {
    for (size_t at : brackets) {
        std::string_view here = std::string_view(s).substr(at, token.size());
        if (ignoreCase ? text::iequals(here, token) : here == token) return true;
    }
    return false;
}

const std::array<std::string_view, 30>& tokenTexts() {
    static const std::array<std::string_view, 30> texts = [] {
        std::array<std::string_view, 30> t{};
        for (size_t i = 0; i < kPathTokens.size(); ++i) t[i] = kPathTokens[i].token;
        return t;
    }();
    return texts;
}

// The replacement of ExpandPathTokens with the folder paths given by folderPath(token index).
template <class FolderPath>
std::string expandTokensWith(std::string_view text, FolderPath folderPath) {
    std::string out(text);
    std::vector<size_t> brackets;
    bracketsIn(out, brackets);
    const auto& tokens = tokenTexts();
    for (size_t i = 0; i < kPathTokens.size() && !brackets.empty(); ++i) {
        const bool ignoreCase = i < kCaseInsensitiveTokenCount;
        if (!holdsToken(out, brackets, tokens[i], ignoreCase)) continue;
        if (ignoreCase) {
            out = text::ireplaceAll(out, tokens[i], folderPath(i));
        } else {
            std::string profile = text::ireplaceAll(folderPath(i), "\\Start Menu", "");
            out = text::replaceAll(out, tokens[i], profile);
        }
        bracketsIn(out, brackets);
    }
    return out;
}

}  // namespace

std::string ExpandPathTokens(std::string_view text, ShellFolders& shell) {
    return expandTokensWith(text, [&shell](size_t i) { return SpecialFolderPath(shell, kPathTokens[i].folder); });
}

std::string LocationExpander::expand(std::string_view location, bool replaceDrive) const {
    if (location.find('[') == std::string_view::npos) return std::string(location);
    std::string s = replaceDrive ? text::replaceAll(location, "[drive]", driveRoot) : std::string(location);
    return expandTokens ? expandTokens(s) : s;
}

LocationExpander makeLocationExpander(ShellFolders& shell) {
    LocationExpander e;
    e.driveRoot = SystemDriveRoot(shell);
    // A scanner expands tokens for many thousand lines, and the shell's folders do not change while
    // one expander is in use (one scanner stage): each folder is asked for once.
    auto folders = std::make_shared<std::array<std::optional<std::string>, std::tuple_size_v<decltype(kPathTokens)>>>();
    e.expandTokens = [&shell, folders](std::string_view s) {
        return expandTokensWith(s, [&](size_t i) -> const std::string& {
            auto& known = (*folders)[i];
            if (!known) known = SpecialFolderPath(shell, kPathTokens[i].folder);
            return *known;
        });
    };
    return e;
}

}  // namespace vedozer
