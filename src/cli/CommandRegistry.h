#pragma once
#include <functional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace vedozer::cli {

struct CliContext;

// Each subcommand file registers itself with a static Registration; main() installs them all.
using CommandInstaller = std::function<void(CLI::App& app, CliContext& context)>;

struct CommandEntry {
    int order;
    CommandInstaller install;
};

std::vector<CommandEntry>& commandRegistry();

struct Registration {
    Registration(int order, CommandInstaller installer) {
        commandRegistry().push_back({order, std::move(installer)});
    }
};

}  // namespace vedozer::cli
