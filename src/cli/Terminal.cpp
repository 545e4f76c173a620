#include "cli/Terminal.h"

#include <cstdio>

#include "text/CodePage.h"
#include "text/Text.h"

namespace vedozer::cli {

std::string shown(std::string_view cp1252) { return text::cp1252ToUtf8(text::escapeControls(cp1252)); }

std::string shownUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    auto escape = [&out](unsigned code) {
        char buf[8];
        std::snprintf(buf, sizeof buf, code < 0x100 ? "\\x%02X" : "\\u%04X", code);
        out += buf;
    };
    for (size_t i = 0; i < s.size();) {
        size_t start = i;
        auto cp = text::nextUtf8(s, i);
        if (!cp) {  // not UTF-8: one byte, shown as the code page has it
            unsigned char b = static_cast<unsigned char>(s[i++]);
            out += shown(std::string(1, static_cast<char>(b)));
            continue;
        }
        if (*cp < 0x20 || *cp == 0x7F || (*cp >= 0x80 && *cp <= 0x9F)) escape(static_cast<unsigned>(*cp));
        else out.append(s, start, i - start);
    }
    return out;
}

}  // namespace vedozer::cli
