#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Text conversions between the program's single-byte code page (Windows-1252) and what a hive
// holds: hivex speaks UTF-8 for key and value names; string data is stored as UTF-16LE.
// Characters without a Windows-1252 form become "?", as the ANSI registry functions do; the codec
// is the program's own (text/CodePage.h).
namespace vedozer::hivetext {

std::string cp1252ToUtf8(std::string_view text);
std::string utf8ToCp1252(std::string_view utf8);
// A final odd byte of UTF-16 data is dropped.
std::string utf16leToCp1252(std::string_view utf16);
std::string cp1252ToUtf16le(std::string_view text);

// Comparison key for names: upper-cased code points as UTF-8, from a code-page name or from a
// UTF-8 name, by the program's one case rule (text::upperChar). Two names match when their keys
// are equal.
std::string foldCp1252(std::string_view text);
std::string foldUtf8(std::string_view utf8);

// Value data: REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ are UTF-16LE in the hive and code-page
// text here (zero terminators convert like any other character); other types are raw bytes.
bool isStringType(uint32_t type);
std::string dataFromHive(uint32_t type, std::string_view raw);
std::string dataToHive(uint32_t type, std::string_view data);

}  // namespace vedozer::hivetext
