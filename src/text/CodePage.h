#pragma once
#include <optional>
#include <string>
#include <string_view>

// The one Windows-1252 codec of the program. Engine text is single bytes of this code page; it
// becomes UTF-8 (or UTF-16) only at the edges: host paths, hive names and data, JSON, windows.
namespace vedozer::text {

// The character of a byte. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) stand for the control character of the same number, as Windows has them, so every byte
// survives a round trip.
char32_t codePointOf(unsigned char byte);
// The byte of a character; nothing when the code page has no form for it.
std::optional<unsigned char> byteOf(char32_t codePoint);

void appendUtf8(std::string& out, char32_t codePoint);
// The character at s[i] and i moved past it; nothing (i unchanged) when the bytes there are not
// well-formed UTF-8.
std::optional<char32_t> nextUtf8(std::string_view s, size_t& i);

std::string cp1252ToUtf8(std::string_view s);
// Characters outside Windows-1252 become '?'; bytes that are not well-formed UTF-8 are taken as
// Windows-1252 (a file name written in the code page on an old disk keeps its letters).
std::string utf8ToCp1252(std::string_view s);

}  // namespace vedozer::text
