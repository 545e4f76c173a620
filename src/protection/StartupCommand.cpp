#include "protection/StartupCommand.h"

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

}  // namespace vedozer
