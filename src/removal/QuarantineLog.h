#pragma once
#include <string>

#include "platform/Clock.h"

namespace vedozer {

// "M/d/yyyy h:mm:ss AM", the date alone at exactly midnight: the general date-and-time text.
std::string generalDateTime(const LocalTime& t);
// "yyyy-mm-dd hh:mm:ss", for the index and for names that sort by time.
std::string isoDateTime(const LocalTime& t);

// The records of QuarantineLog.txt, four CR LF lines each.
std::string formatFileRecord(const std::string& stamp, const std::string& bareName, const std::string& path);
std::string formatRegistryRecord(const std::string& stamp, const std::string& keyText,
                                 const std::string& valueText);

}  // namespace vedozer
