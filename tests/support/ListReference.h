#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "text/Text.h"

// Literal, linear forms of the exclusion and safe-list tests, one comparison per element and
// call. Tests check the indexed lists against them; the benchmark times them for comparison.
namespace vedozer::test {

inline bool referenceIsExcluded(const std::string& listText, std::string_view item, bool folder = false) {
    if (listText.empty()) return false;
    const std::string upper = text::toUpper(item);
    const std::string upperTrimmed = text::toUpper(text::trim(item));
    for (const auto& piece : text::split(listText, "|")) {
        const std::string p = text::toUpper(piece);
        if (upper == p || upperTrimmed == p) return true;
        if (folder && text::ifind(piece, item) != std::string::npos) return true;
    }
    return false;
}

inline std::string referenceStripSeparators(std::string s) {
    if (!s.empty() && s.back() == '/') s.pop_back();
    if (!s.empty() && s.back() == '\\') s.pop_back();
    return s;
}

inline bool referenceIsSafe(const std::vector<std::string>& list, std::string_view item) {
    std::string s = text::trim(text::toLower(item));
    if (s.empty()) return true;
    s = referenceStripSeparators(s);
    if (s.empty()) return true;
    for (const auto& element : list) {
        std::string e = text::trim(text::toLower(element));
        if (e.empty()) continue;
        e = referenceStripSeparators(e);
        if (e.empty()) continue;
        if (text::iequals(e, s) || text::iequals(e, s + "\\") || text::iequals(e + "\\", s)) return true;
        for (const char* hive : {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                 "HKEY_CURRENT_CONFIG"}) {
            if (text::iequals(s, hive) || text::iequals(s, std::string(hive) + "\\")) return true;
        }
    }
    return false;
}

}  // namespace vedozer::test
