#pragma once
#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "platform/ShellFolders.h"

namespace vedozer {

struct PathToken {
    const char* token;
    int folder;  // shell special-folder number (CSIDL)
};

// Tokens replaced by ExpandPathTokens, in replacement order. The first 28 match without regard to
// case; "[user]" and "[alluser]" match exactly and stand for folders 11 and 22 with every
// "\Start Menu" removed.
extern const std::array<PathToken, 30> kPathTokens;
constexpr size_t kCaseInsensitiveTokenCount = 28;

// The folder's path with "\" appended; empty when the shell has no path for it.
std::string SpecialFolderPath(ShellFolders& shell, int folder);
// The folder through the item-identifier lookup, "\" appended only when missing; empty on failure.
std::string SpecialFolderLocation(ShellFolders& shell, int folder);
// The first three characters of the Programs folder's location (e.g. "C:\"); stands for "[drive]".
std::string SystemDriveRoot(ShellFolders& shell);

// Replaces the path tokens of the table in order. Folder paths are asked for afresh on each call
// (only for tokens that occur in the text).
std::string ExpandPathTokens(std::string_view text, ShellFolders& shell);

// What a definition reader needs to turn a location field into a path: the "[drive]"
// replacement and the token expansion. Parsers take it so they can be tested without a shell.
struct LocationExpander {
    std::string driveRoot;
    std::function<std::string(std::string_view)> expandTokens;

    // "[drive]" (exact case) -> driveRoot when replaceDrive, then the path tokens.
    std::string expand(std::string_view location, bool replaceDrive = true) const;
};

// An expander bound to a shell, for one scanner stage; SystemDriveRoot is computed once, here,
// and each token's folder once, when first needed.
LocationExpander makeLocationExpander(ShellFolders& shell);

}  // namespace vedozer
