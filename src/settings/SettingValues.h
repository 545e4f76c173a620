#pragma once
#include <string>
#include <string_view>

namespace vedozer {

// How option values are written and read back as text.

// "1" and "True" (any case) read as true, "0" and "False" as false; another whole number
// is true unless zero; anything else yields the fallback.
bool toBool(std::string_view value, bool fallback = false);

// A check box is stored as "0" or "1".
std::string checkBoxValue(bool checked);
// An option button or a flag word is stored as "True" or "False".
std::string trueFalse(bool value);

// Key of the stored width of column n (1-based) of the results list: "FoundCol2" + n.
std::string columnWidthKey(int column);

}  // namespace vedozer
