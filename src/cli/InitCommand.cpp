// vedozer init: installs the definitions shipped with the program into the data folder.
#include <CLI/CLI.hpp>

#include <iostream>

#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CommandRegistry.h"
#include "text/CodePage.h"

namespace vedozer::cli {
namespace {

Registration reg(20, [](CLI::App& app, CliContext& context) {
    auto force = std::make_shared<bool>(false);
    auto* cmd = app.add_subcommand("init", "Create the data folder and install the shipped definitions");
    cmd->add_flag("--force", *force, "Replace definition files that are already installed");
    cmd->callback([&context, force] {
        context.run([&] {
            Session& session = context.quietSession();
            Outcome outcome = session.installShippedDefinitions(*force);
            if (outcome.status == OutcomeStatus::Skipped)
                throw CliError(text::cp1252ToUtf8(outcome.reason) + " (use --force to replace them with the shipped set)");
            if (outcome.failed()) throw CliError(text::cp1252ToUtf8(outcome.reason));
            std::cout << "installed " << session.definitions().total << " definitions into "
                      << text::cp1252ToUtf8(session.dataFolder()) << "\n";
            return kExitOk;
        });
    });
});

}  // namespace
}  // namespace vedozer::cli
