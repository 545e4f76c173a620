#pragma once
#include <string>
#include <string_view>
#include <vector>

// Byte-string helpers of the Windows code page (Windows-1252).
namespace vedozer::text {

// The one case rule of the program, Windows' ANSI upper and lower case for the code page: the
// ASCII letters, the accented letters 0xC0-0xDE and 0xE0-0xFE (not the multiplication and division
// signs), and the pairs S/s, OE/oe, Z/z with caron and Y/y with diaeresis (0x8A/0x9A, 0x8C/0x9C,
// 0x8E/0x9E, 0x9F/0xFF). Every comparison "without regard to case" uses it.
char upperChar(char c);
char lowerChar(char c);
// The same rule for a character by its code point; characters outside the code page stay as they are.
char32_t upperCodePoint(char32_t cp);
// The comparison key of UTF-8 text (host file names, hive names): every character upper-cased by
// the rule above, as UTF-8 (a byte that is not UTF-8 counts as the code page's character). Two
// names are the same name when their keys are equal.
std::string foldUtf8(std::string_view utf8);
std::string toUpper(std::string_view s);
std::string toLower(std::string_view s);
bool iequals(std::string_view a, std::string_view b);
bool istartsWith(std::string_view s, std::string_view prefix);
bool iendsWith(std::string_view s, std::string_view suffix);
// Position of needle in haystack ignoring case, npos when absent.
size_t ifind(std::string_view haystack, std::string_view needle, size_t from = 0);

// Trims spaces only (the classic Trim).
std::string trim(std::string_view s);
std::string trimWhitespace(std::string_view s);  // spaces, tabs, CR, LF

// Splits at every occurrence of sep; "" gives one empty piece.
std::vector<std::string> split(std::string_view s, std::string_view sep);
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to);
std::string ireplaceAll(std::string_view s, std::string_view from, std::string_view to);

// "1234567" -> "1,234,567"
std::string groupDigits(long long n);

// Text from outside (a file, cookie or spyware name, a server's reply) made safe to print on a
// terminal or into a report: every control character is written as "\xNN" (upper-case hex).
// Controls are C0 (0x00-0x1F), DEL and the code page's undefined bytes 0x81, 0x8D, 0x8F, 0x90
// and 0x9D, which stand for C1 controls. Works on Windows-1252 bytes; other text is unchanged.
std::string escapeControls(std::string_view cp1252);
bool isControlByte(unsigned char byte);

// The candidate closest to a mistyped word (letter case ignored): fewest single-letter edits,
// at most a third of the word's length (at least one), or a candidate the word begins. "" when
// none is that close.
std::string closestMatch(std::string_view word, const std::vector<std::string>& candidates);

}  // namespace vedozer::text
