#pragma once
#include <string>
#include <string_view>

namespace vedozer {

// Every line of the definition files is stored shifted by this offset (wrapping by 255).
// 64 keeps feeds compatible: "|" and "=" encode to the codes 188 and 125, and
// the codes 60 and 252 encode to them.
constexpr int kScrambleOffset = 64;

std::string EncodeDefinitionLine(std::string_view line);
std::string DecodeDefinitionLine(std::string_view line);

}  // namespace vedozer
