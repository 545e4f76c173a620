#pragma once
#include <string>
#include <string_view>

namespace vedozer::cli {

// Engine text (Windows-1252) as the terminal shows it: UTF-8, with every control character of a
// file name, spyware name or server reply written as "\xNN", so nothing printed can steer the
// terminal (retitle it, move the cursor, clear the screen).
std::string shown(std::string_view cp1252);
// The same for text that already is UTF-8 (host paths, our own messages with such text in them):
// C0 controls, DEL and C1 controls (U+0080-U+009F) are escaped, other characters kept.
std::string shownUtf8(std::string_view utf8);

}  // namespace vedozer::cli
