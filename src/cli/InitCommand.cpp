// vedozer init: installs the definitions shipped with the program into the data folder.
#include <CLI/CLI.hpp>

#include <iostream>

#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CliHost.h"
#include "cli/CommandRegistry.h"
#include "definitions/DefinitionFiles.h"
#include "cli/CliBackend.h"

namespace vedozer::cli {
namespace {

Registration reg(20, [](CLI::App& app, CliContext& context) {
    auto force = std::make_shared<bool>(false);
    auto* cmd = app.add_subcommand("init", "Create the data folder and install the shipped definitions");
    cmd->add_flag("--force", *force, "Replace definition files that are already installed");
    cmd->callback([&context, force] {
        context.run([&] {
            Platform& p = context.platform().platform();
            const std::string folder = p.dataFolderOverride;
            if (!p.dataFiles->createFolder(folder)) throw CliError("cannot create the data folder " + folder);
            Session probe(p, context.host());
            probe.startUp({.takeInstanceLock = false, .recordStatus = false});
            if (probe.missingDefinitionFiles().size() < 5 && !*force)
                throw CliError("definitions are already installed in " + folder +
                               " (use --force to replace them with the shipped set)");
            if (!installShippedDefinitions(*p.dataFiles, folder))
                throw CliError("could not write the definition files into " + folder);
            probe.reloadDefinitions();
            std::cout << "installed " << probe.definitions().total << " definitions into " << folder << "\n";
            return kExitOk;
        });
    });
});

}  // namespace
}  // namespace vedozer::cli
