#include "removal/RemovalText.h"

#include "scan/ScanMonitor.h"
#include "text/Text.h"

namespace vedozer {

std::string FileExtension(std::string_view path) {
    for (size_t i = path.size(); i-- > 0;) {
        char c = path[i];
        if (c == '.') return text::toLower(text::trim(path.substr(i + 1)));
        if (c == ':' || c == '\\') return "";
    }
    return "";
}

int removalPercent(size_t i, size_t count) {
    if (count == 0) return 0;
    return static_cast<int>(roundHalfEven(static_cast<double>(i) / static_cast<double>(count) * 100.0));
}

std::string CopyListText(const std::vector<std::string>& paths) {
    std::string out;
    for (const auto& p : paths) out += p + "\r\n";
    return out;
}

long long leadingNumber(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    long long v = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9' && v < (1LL << 58)) v = v * 10 + (s[i++] - '0');
    return negative ? -v : v;
}

}  // namespace vedozer
