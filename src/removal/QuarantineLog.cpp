#include "removal/QuarantineLog.h"

#include <cstdio>

namespace vedozer {

std::string generalDateTime(const LocalTime& t) {
    std::string out = std::to_string(t.month) + "/" + std::to_string(t.day) + "/" + std::to_string(t.year);
    if (t.hour == 0 && t.minute == 0 && t.second == 0) return out;
    char buf[32];
    int h12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
    std::snprintf(buf, sizeof buf, " %d:%02d:%02d %s", h12, t.minute, t.second, t.hour < 12 ? "AM" : "PM");
    return out + buf;
}

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
