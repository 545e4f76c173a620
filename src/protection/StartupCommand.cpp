#include "protection/StartupCommand.h"

#include <charconv>

#include "text/Text.h"

namespace vedozer {

std::string runAtStartupCommand(const std::string& folder, const std::string& executableName) {
    std::string path = folder;
    if (!path.empty() && path.back() != '\\') path += '\\';
    return "\"" + path + executableName + "\" " + kStartInTraySwitch;
}

bool startsInTray(const std::vector<std::string>& arguments) {
    for (const std::string& a : arguments) {
        std::string t = text::trimWhitespace(a);
        if (text::iequals(t, "/tray") || text::iequals(t, "-tray")) return true;
    }
    return false;
}

namespace {

// A whole decimal number, nothing before or after it.
template <typename Number>
bool wholeNumber(std::string_view text, Number& out) {
    if (text.empty()) return false;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

StartOptions parseStartOptions(const std::vector<std::string>& arguments) {
    StartOptions o;
    o.inTray = startsInTray(arguments);
    constexpr std::string_view kTestClock = "/test-clock=";
    for (const std::string& a : arguments) {
        std::string_view rest(a);
        if (rest.substr(0, kTestClock.size()) != kTestClock) continue;
        rest.remove_prefix(kTestClock.size());
        size_t comma = rest.find(',');
        int64_t ahead = 0;
        uint32_t rate = 1;
        if (!wholeNumber(rest.substr(0, comma), ahead)) continue;
        if (comma != std::string_view::npos && (!wholeNumber(rest.substr(comma + 1), rate) || rate < 1 || rate > 1000))
            continue;
        o.clockAheadSeconds = ahead;
        o.clockRate = rate;
    }
    return o;
}

}  // namespace vedozer
