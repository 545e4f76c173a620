#include "removal/QuarantineLog.h"

#include <cstdio>

namespace vedozer {

std::string isoDateTime(const LocalTime& t) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return buf;
}

std::string formatFileRecord(const std::string& stamp, const std::string& bareName, const std::string& path) {
    return stamp + " - File: " + bareName + "\r\n - Location: " + path + "\r\n\r\n\r\n";
}

std::string formatRegistryRecord(const std::string& stamp, const std::string& keyText,
                                 const std::string& valueText) {
    return stamp + " - Key: " + keyText + "\r\nValue: " + valueText + "\r\n\r\n\r\n";
}

}  // namespace vedozer
