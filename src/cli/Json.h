#pragma once
#include <string>
#include <string_view>

namespace vedozer::cli {

// A JSON string literal of engine text (Windows-1252 in, UTF-8 out).
std::string jsonString(std::string_view cp1252);

}  // namespace vedozer::cli
