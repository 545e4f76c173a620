#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "scan/ProcessList.h"  // shortProgramName, processMatchName

namespace vedozer {

// The text after the path's last "." (trimmed, lower case); "" when a ":" or "\" comes first
// or there is no ".".
std::string FileExtension(std::string_view path);


// "MSG_REMOVING2 : p% MSG_COMPLETED" with p = i / count * 100, rounded half to even.
int removalPercent(size_t i, size_t count);

// The Copy List text of the survivors: each path followed by CR LF.
std::string CopyListText(const std::vector<std::string>& paths);

// A number as the removed-total labels hold it: leading blanks skipped, optional sign, then
// the digits that follow; anything else counts as 0.
long long leadingNumber(std::string_view text);

}  // namespace vedozer
