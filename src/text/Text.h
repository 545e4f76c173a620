#pragma once
#include <string>
#include <string_view>
#include <vector>

// Byte-string helpers with the case rules of the Windows code page's ASCII range.
namespace vedozer::text {

char upperChar(char c);
char lowerChar(char c);
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

}  // namespace vedozer::text
