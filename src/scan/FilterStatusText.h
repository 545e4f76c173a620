#pragma once
#include <array>
#include <string>
#include <string_view>

namespace vedozer {

// Words taken out of every status text, in the order they are removed.
extern const std::array<const char*, 42> kFilteredWords;

// Removes every occurrence of each filtered word, one word after the other, without
// regard to case and also inside longer words ("Documents" loses its "cum").
std::string FilterStatusText(std::string_view text);

}  // namespace vedozer
