#pragma once
#include <string>
#include <string_view>

namespace vedozer::text {

// Windows-1252 <-> UTF-8, for the edges where text leaves the engine (host paths, JSON, the GUI).
std::string cp1252ToUtf8(std::string_view s);
// Characters outside Windows-1252 become '?'; invalid UTF-8 bytes are taken as Windows-1252.
std::string utf8ToCp1252(std::string_view s);

}  // namespace vedozer::text
