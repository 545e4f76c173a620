#include "cli/CommandLine.h"

#include <algorithm>

#include "cli/Terminal.h"
#include "text/Text.h"

namespace vedozer::cli {

std::string commandWord(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") return i + 1 < args.size() ? args[i + 1] : "";
        if (a.size() > 1 && a[0] == '-') {
            bool takesValue = std::find(valueOptions.begin(), valueOptions.end(), a) != valueOptions.end();
            if (takesValue) ++i;
            continue;
        }
        return a;
    }
    return "";
}

std::string unknownCommandMessage(const std::string& word, const std::vector<std::string>& commands) {
    std::string message = "there is no command \"" + shownUtf8(word) + "\"";
    std::string match = text::closestMatch(word, commands);
    if (!match.empty()) message += "; did you mean \"" + match + "\"?";
    std::string all;
    for (const auto& c : commands) all += (all.empty() ? "" : ", ") + c;
    return message + "\n  commands: " + all + " (vedozer --help tells more)";
}

}  // namespace vedozer::cli
