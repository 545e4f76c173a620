#include "cli/CommandRegistry.h"

namespace vedozer::cli {

std::vector<CommandEntry>& commandRegistry() {
    static std::vector<CommandEntry> entries;
    return entries;
}

}  // namespace vedozer::cli
