// vedozer: the command-line scanner.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>

#include "cli/CliContext.h"
#include "cli/CommandRegistry.h"

namespace vedozer::cli {

std::vector<CommandEntry>& commandRegistry() {
    static std::vector<CommandEntry> entries;
    return entries;
}

}  // namespace vedozer::cli

int main(int argc, char** argv) {
    using namespace vedozer::cli;
    CLI::App app{"Vedozer: finds and removes adware and spyware by definition files, on Windows and on "
                 "offline Windows installations"};
    app.require_subcommand(1);
    CliContext context;
    context.addGlobalOptions(app);
    auto& entries = commandRegistry();
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.order < b.order; });
    for (auto& e : entries) e.install(app, context);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        int code = app.exit(e);
        return code == 0 ? 0 : kExitError;
    }
    return context.exitCode;
}
