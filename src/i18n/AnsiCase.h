#pragma once
#include <string>
#include <string_view>

namespace vedozer {

// Upper case in Windows-1252: ASCII letters and the accented letters of the code page
// (language names and translated texts are not ASCII-only).
char upperAnsi(char c);
std::string toUpperAnsi(std::string_view s);
bool iequalsAnsi(std::string_view a, std::string_view b);

}  // namespace vedozer
