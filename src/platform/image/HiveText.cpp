#include "platform/image/HiveText.h"

#include <optional>

#include "text/CodePage.h"
#include "text/Text.h"

// The codec and the case rule are the program's own (text/); this adds UTF-16 for string data.
namespace vedozer::hivetext {
namespace {

char toByte(char32_t cp) {
    auto byte = text::byteOf(cp);
    return byte ? static_cast<char>(*byte) : '?';
}

}  // namespace

std::string cp1252ToUtf8(std::string_view text) { return text::cp1252ToUtf8(text); }

std::string utf8ToCp1252(std::string_view utf8) { return text::utf8ToCp1252(utf8); }

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
        char32_t cp = text::codePointOf(static_cast<unsigned char>(c));
        out += static_cast<char>(cp & 0xFF);
        out += static_cast<char>((cp >> 8) & 0xFF);
    }
    return out;
}

namespace {

// Names are mostly ASCII, and an ASCII name's key is its upper case: no decoding for those.
std::optional<std::string> foldAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (static_cast<unsigned char>(c) >= 0x80) return std::nullopt;
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
    }
    return out;
}

}  // namespace

std::string foldCp1252(std::string_view text) {
    if (auto ascii = foldAscii(text)) return std::move(*ascii);
    return text::cp1252ToUtf8(text::toUpper(text));
}

std::string foldUtf8(std::string_view utf8) {
    if (auto ascii = foldAscii(utf8)) return std::move(*ascii);
    return text::foldUtf8(utf8);
}

bool isStringType(uint32_t type) { return type == 1 || type == 2 || type == 7; }

std::string dataFromHive(uint32_t type, std::string_view raw) {
    return isStringType(type) ? utf16leToCp1252(raw) : std::string(raw);
}

std::string dataToHive(uint32_t type, std::string_view data) {
    return isStringType(type) ? cp1252ToUtf16le(data) : std::string(data);
}

}  // namespace vedozer::hivetext
