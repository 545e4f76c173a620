#include "text/GeneralDate.h"

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

}  // namespace vedozer
