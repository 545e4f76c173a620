#include "cli/Json.h"

#include <cstdio>

#include "text/CodePage.h"

namespace vedozer::cli {

std::string jsonString(std::string_view cp1252) {
    std::string utf8 = text::cp1252ToUtf8(cp1252);
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

}  // namespace vedozer::cli
