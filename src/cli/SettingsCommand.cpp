// vedozer settings get|set SECTION KEY [VALUE], vedozer settings list
#include <CLI/CLI.hpp>

#include <iostream>

#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CommandRegistry.h"

namespace vedozer::cli {
namespace {

struct SettingsArgs {
    std::string section, key, value;
    bool machine = false;
};

SettingScope scopeOf(const SettingsArgs& args) { return args.machine ? SettingScope::Machine : SettingScope::User; }

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
            auto value = context.quietSession().setting(args->section, args->key, scopeOf(*args));
            if (!value) return kExitFound;
            std::cout << *value << "\n";
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
            Outcome outcome = context.quietSession().setSetting(args->section, args->key, args->value, scopeOf(*args));
            if (outcome.failed()) throw CliError("the setting could not be saved: " + outcome.reason);
            return kExitOk;
        });
    });
    cmd->add_subcommand("list", "Print every option with its value (\"(default)\" when not set)")->callback([&context] {
        context.run([&] {
            for (const auto& s : context.quietSession().listSettings())
                std::cout << s.section << " " << s.key << " = " << s.value << (s.stored ? "" : "  (default)")
                          << "  # " << s.meaning << "\n";
            return kExitOk;
        });
    });
});

}  // namespace
}  // namespace vedozer::cli
