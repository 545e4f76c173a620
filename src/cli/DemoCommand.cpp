// vedozer demo [DIR]: builds a demo Windows installation and data folder, then scans it.
#include <CLI/CLI.hpp>

#include <iostream>

#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CommandRegistry.h"
#include "cli/DemoImage.h"

namespace vedozer::cli {

int runDemoScan(CliContext& context);  // ScanCommand.cpp

namespace {

Registration reg(90, [](CLI::App& app, CliContext& context) {
    auto dir = std::make_shared<std::string>("vedozer-demo");
    auto buildOnly = std::make_shared<bool>(false);
    auto* cmd = app.add_subcommand("demo", "Build a demo Windows installation with planted adware, then scan it");
    cmd->add_option("DIR", *dir, "Folder for the demo (replaced when it holds an earlier demo)");
    cmd->add_flag("--build-only", *buildOnly, "Only build the demo, don't scan it");
    cmd->callback([&context, dir, buildOnly] {
        context.run([&] {
            DemoImage demo = buildDemoImage(*dir);
            context.target = demo.systemDrive;
            context.dataDir = demo.dataFolder;
            context.configDir = demo.configDir;
            context.machineConfigDir = demo.configDir + "/machine";
            context.user.clear();
            context.drives.clear();
            Outcome installed = context.session(/*takeInstanceLock=*/true).installShippedDefinitions(/*force=*/true);
            if (installed.failed()) throw CliError(installed.reason);
            std::cout << "Demo Windows installation: " << demo.systemDrive << " (drive C:, user \"demo\")\n";
            for (const auto& what : demo.planted) std::cout << "  planted " << what << "\n";
            std::cout << "Data folder:  " << demo.dataFolder << "\n"
                      << "Settings:     " << demo.configDir << "\n"
                      << "Scan it yourself with:\n  vedozer --target " << demo.systemDrive << " --data-dir "
                      << demo.dataFolder << " --config-dir " << demo.configDir << " scan\n\n";
            if (*buildOnly) return kExitOk;
            return runDemoScan(context);
        });
    });
});

}  // namespace
}  // namespace vedozer::cli
