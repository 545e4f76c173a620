#pragma once
#include <string>
#include <string_view>

namespace vedozer::win32ui {

// The engine's texts are Windows-1252; the windows are UTF-16. These convert at the edge.
std::wstring widen(std::string_view ansi);
// Characters outside Windows-1252 become '?'.
std::string narrow(std::wstring_view wide);

}  // namespace vedozer::win32ui
