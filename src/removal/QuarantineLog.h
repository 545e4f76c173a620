#pragma once
#include <string>

#include "platform/Clock.h"
#include "text/GeneralDate.h"

namespace vedozer {

// "yyyy-mm-dd hh:mm:ss", for the index and for names that sort by time.
std::string isoDateTime(const LocalTime& t);

// The records of QuarantineLog.txt, four CR LF lines each.
std::string formatFileRecord(const std::string& stamp, const std::string& bareName, const std::string& path);
std::string formatRegistryRecord(const std::string& stamp, const std::string& keyText,
                                 const std::string& valueText);

}  // namespace vedozer
