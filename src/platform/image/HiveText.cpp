#include "platform/image/HiveText.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vedozer::hivetext {
namespace {

// Code points of the bytes 0x80..0x9F. The five bytes the code page leaves undefined map to the
// control character of the same number, as Windows does, so they survive a round trip.
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t fromByte(unsigned char c) {
    if (c >= 0x80 && c <= 0x9F) return kHigh[c - 0x80];
    return c;
}

char toByte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == cp) return static_cast<char>(0x80 + i);
    }
    return '?';
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes UTF-8; a malformed sequence yields U+FFFD for its first byte.
std::vector<char32_t> decodeUtf8(std::string_view s) {
    std::vector<char32_t> out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            out.push_back(c);
            ++i;
            continue;
        }
        size_t extra = 0;
        char32_t cp = 0;
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        }
        bool ok = extra > 0 && i + extra < s.size();
        for (size_t k = 1; ok && k <= extra; ++k) {
            unsigned char cc = static_cast<unsigned char>(s[i + k]);
            ok = (cc & 0xC0) == 0x80;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += extra + 1;
    }
    return out;
}

char32_t upper(char32_t cp) {
    if (cp >= 'a' && cp <= 'z') return cp - 0x20;
    if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 0x20;
    switch (cp) {
        case 0xFF: return 0x178;
        case 0x161: return 0x160;
        case 0x153: return 0x152;
        case 0x17E: return 0x17D;
        default: return cp;
    }
}

}  // namespace

std::string cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) appendUtf8(out, fromByte(static_cast<unsigned char>(c)));
    return out;
}

std::string utf8ToCp1252(std::string_view utf8) {
    std::string out;
    for (char32_t cp : decodeUtf8(utf8)) out += toByte(cp);
    return out;
}

std::string utf16leToCp1252(std::string_view utf16) {
    std::string out;
    out.reserve(utf16.size() / 2);
    for (size_t i = 0; i + 1 < utf16.size(); i += 2) {
        char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(utf16[i]) |
                                              (static_cast<unsigned char>(utf16[i + 1]) << 8));
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < utf16.size()) {
            char16_t next = static_cast<char16_t>(static_cast<unsigned char>(utf16[i + 2]) |
                                                  (static_cast<unsigned char>(utf16[i + 3]) << 8));
            if (next >= 0xDC00 && next <= 0xDFFF) i += 2;  // one "?" for the pair
        }
        out += toByte(unit);
    }
    return out;
}

std::string cp1252ToUtf16le(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) {
        char32_t cp = fromByte(static_cast<unsigned char>(c));
        out += static_cast<char>(cp & 0xFF);
        out += static_cast<char>((cp >> 8) & 0xFF);
    }
    return out;
}

// Names are mostly ASCII: folded in place, without decoding.
static std::optional<std::string> foldAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (static_cast<unsigned char>(c) >= 0x80) return std::nullopt;
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
    }
    return out;
}

std::string foldCp1252(std::string_view text) {
    if (auto ascii = foldAscii(text)) return std::move(*ascii);
    std::string out;
    out.reserve(text.size());
    for (char c : text) appendUtf8(out, upper(fromByte(static_cast<unsigned char>(c))));
    return out;
}

std::string foldUtf8(std::string_view utf8) {
    if (auto ascii = foldAscii(utf8)) return std::move(*ascii);
    std::string out;
    out.reserve(utf8.size());
    for (char32_t cp : decodeUtf8(utf8)) appendUtf8(out, upper(cp));
    return out;
}

bool isStringType(uint32_t type) { return type == 1 || type == 2 || type == 7; }

std::string dataFromHive(uint32_t type, std::string_view raw) {
    return isStringType(type) ? utf16leToCp1252(raw) : std::string(raw);
}

std::string dataToHive(uint32_t type, std::string_view data) {
    return isStringType(type) ? cp1252ToUtf16le(data) : std::string(data);
}

}  // namespace vedozer::hivetext
