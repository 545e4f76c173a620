// vedozer: the command-line scanner.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>

#include "cli/CliContext.h"
#include "cli/CommandLine.h"
#include "cli/CommandRegistry.h"

namespace vedozer::cli {
int printVersion(CliContext& context);  // VersionCommand.cpp
}

int main(int argc, char** argv) {
    using namespace vedozer::cli;
    CLI::App app{"Vedozer: finds and removes adware and spyware by definition files, on Windows and on "
                 "offline Windows installations"};
    app.require_subcommand(0, 1);
    CliContext context;
    bool version = false;
    app.add_flag("--version", version, "Print the program, its version and the date of the installed definitions");
    auto& entries = commandRegistry();
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.order < b.order; });
    for (auto& e : entries) e.install(app, context);
    context.addGlobalOptions(app);
    app.footer("Global options go before or after the command. Exit codes: 0 done (nothing found), 1 threats "
               "found or something left undone, 2 error.");

    // A mistyped command is named with the nearest one, rather than as an "extra argument".
    std::vector<std::string> args(argv + 1, argv + argc), commands;
    for (const CLI::App* sub : app.get_subcommands({})) commands.push_back(sub->get_name());
    std::vector<std::string> takeValues;  // the global options whose next word is their value
    for (const CLI::Option* opt : app.get_options())
        if (opt->get_type_size() > 0)
            for (const std::string& name : opt->get_lnames()) takeValues.push_back("--" + name);
    std::string word = commandWord(args, takeValues);
    if (!word.empty() && std::find(commands.begin(), commands.end(), word) == commands.end()) {
        std::cerr << "vedozer: error: " << unknownCommandMessage(word, commands) << "\n";
        return kExitError;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        int code = app.exit(e);
        return code == 0 ? 0 : kExitError;
    }
    if (version) return printVersion(context);
    if (app.get_subcommands().empty()) {
        std::cerr << app.help() << "vedozer: error: give a command (vedozer scan --help, for instance)\n";
        return kExitError;
    }
    return context.exitCode;
}
