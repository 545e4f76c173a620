// vedozer settings get|set SECTION KEY [VALUE]
#include <CLI/CLI.hpp>

#include <iostream>

#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CliHost.h"
#include "cli/CommandRegistry.h"
#include "cli/CliBackend.h"
#include "settings/Settings.h"

namespace vedozer::cli {
namespace {

struct SettingsArgs {
    std::string section, key, value;
    bool machine = false;
};

Settings makeSettings(CliContext& context) {
    return Settings(*context.platform().platform().settingsStore, ProductIdentity::fromBuild(), &context.host());
}

Registration reg(60, [](CLI::App& app, CliContext& context) {
    auto args = std::make_shared<SettingsArgs>();
    auto* cmd = app.add_subcommand("settings", "Read or change a setting");
    cmd->require_subcommand(1);
    auto* get = cmd->add_subcommand("get", "Print a setting (nothing printed, exit code 1, when it is not set)");
    get->add_option("SECTION", args->section)->required();
    get->add_option("KEY", args->key)->required();
    get->add_flag("--machine", args->machine, "The machine-wide store");
    get->callback([&context, args] {
        context.run([&] {
            Settings settings = makeSettings(context);
            const std::string kAbsent = std::string("\x01", 1);
            std::string v = args->machine ? settings.getMachine(settings.appName(), args->section, args->key, kAbsent)
                                          : settings.get(args->section, args->key, kAbsent);
            if (v == kAbsent) return kExitFound;
            std::cout << v << "\n";
            return kExitOk;
        });
    });
    auto* set = cmd->add_subcommand("set", "Save a setting");
    set->add_option("SECTION", args->section)->required();
    set->add_option("KEY", args->key)->required();
    set->add_option("VALUE", args->value)->required();
    set->add_flag("--machine", args->machine, "The machine-wide store");
    set->callback([&context, args] {
        context.run([&] {
            Settings settings = makeSettings(context);
            bool ok = args->machine ? settings.saveMachine(args->section, args->key, args->value)
                                    : settings.save(args->section, args->key, args->value);
            if (!ok) throw CliError("the setting could not be saved");
            return kExitOk;
        });
    });
});

}  // namespace
}  // namespace vedozer::cli
