#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "app/presenters/DesktopTypes.h"

namespace vedozer {

// Small text rules the presenters share.

// A status text of several lines as one line: the lines trimmed and joined by one blank.
std::string oneLine(std::string_view text);

// Replaces every "[Count]" (and "[Date]") in a caption.
std::string withCount(std::string_view caption, int64_t count);
std::string withDate(std::string_view caption, std::string_view date);

// The results lists' small-icon numbers as kinds.
KindIcon kindIcon(int threatIcon);

}  // namespace vedozer
