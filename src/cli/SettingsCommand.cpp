// vedozer settings list | get NAME | set NAME VALUE (also SECTION KEY [VALUE] as stored)
#include <CLI/CLI.hpp>

#include <iostream>

#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CommandRegistry.h"
#include "cli/Terminal.h"
#include "settings/KnownSettings.h"
#include "text/Text.h"

namespace vedozer::cli {
namespace {

struct SettingsArgs {
    std::vector<std::string> words;  // NAME [VALUE] or SECTION KEY [VALUE]
    bool machine = false;
};

std::vector<std::string> settingNames() {
    std::vector<std::string> names;
    for (const auto& k : knownSettings()) names.push_back(k.name);
    return names;
}

[[noreturn]] void unknownSetting(const std::string& what) {
    std::string match = text::closestMatch(what, settingNames());
    throw CliError("there is no setting \"" + shownUtf8(what) + "\"" +
                   (match.empty() ? "" : "; did you mean \"" + match + "\"?") + " (vedozer settings list shows them all)");
}

// NAME, or SECTION KEY of a known setting: its readable name.
std::string nameOf(const std::vector<std::string>& words, size_t count) {
    if (count == 1) {
        if (!findKnownSetting(words[0])) unknownSetting(words[0]);
        return findKnownSetting(words[0])->name;
    }
    const KnownSetting* k = findKnownSetting(words[0], words[1]);
    if (!k) unknownSetting(words[0] + " " + words[1]);
    return k->name;
}

int runGet(CliContext& context, const SettingsArgs& a) {
    Session& session = context.quietSession();
    if (a.words.empty() || a.words.size() > 2) throw CliError("give NAME (or SECTION KEY)");
    if (a.machine) {  // the machine-wide store has no list of names: as stored
        if (a.words.size() != 2) throw CliError("the machine-wide store is read as SECTION KEY");
        auto value = session.setting(a.words[0], a.words[1], SettingScope::Machine);
        if (!value) return kExitFound;
        std::cout << shown(*value) << "\n";
        return kExitOk;
    }
    // The other key of an option pair reads as stored, else the opposite of its partner's default.
    if (a.words.size() == 2 && !findKnownSetting(a.words[0], a.words[1])) {
        for (const auto& k : knownSettings()) {
            if (!k.pairedKey || !text::iequals(a.words[0], k.section) || !text::iequals(a.words[1], k.pairedKey)) continue;
            auto stored = session.setting(k.section, k.pairedKey);
            std::cout << shown(stored.value_or(std::string(k.defaultValue) == "True" ? "False" : "True")) << "\n";
            return kExitOk;
        }
    }
    auto entry = session.settingNamed(nameOf(a.words, a.words.size()));
    std::cout << shown(entry->value) << "\n";  // unset: its default
    return kExitOk;
}

int runSet(CliContext& context, const SettingsArgs& a) {
    Session& session = context.quietSession();
    if (a.words.size() < 2 || a.words.size() > 3) throw CliError("give NAME VALUE (or SECTION KEY VALUE)");
    const std::string& value = a.words.back();
    if (a.machine) {
        if (a.words.size() != 3) throw CliError("the machine-wide store is written as SECTION KEY VALUE");
        Outcome outcome = session.setSetting(a.words[0], a.words[1], value, SettingScope::Machine);
        if (outcome.failed()) throw CliError("the setting could not be saved: " + outcome.reason);
        return kExitOk;
    }
    std::string name = nameOf(a.words, a.words.size() - 1);
    Outcome outcome = session.setSettingNamed(name, value);
    if (outcome.failed()) throw CliError(shownUtf8(outcome.reason));
    auto entry = session.settingNamed(name);
    std::cout << name << " = " << shown(entry->value) << "  (" << entry->section << "/" << entry->key << ")\n";
    return kExitOk;
}

Registration reg(60, [](CLI::App& app, CliContext& context) {
    auto args = std::make_shared<SettingsArgs>();
    auto* cmd = app.add_subcommand("settings", "Read or change a setting");
    cmd->require_subcommand(1);
    auto* get = cmd->add_subcommand("get", "Print a setting's value (its default when it was never set)");
    get->add_option("NAME", args->words, "Setting name (see settings list), or SECTION KEY as stored")->required();
    get->add_flag("--machine", args->machine, "The machine-wide store (SECTION KEY; exit code 1 when not set)");
    get->callback([&context, args] { context.run([&] { return runGet(context, *args); }); });
    auto* set = cmd->add_subcommand("set", "Change a setting (the name and the value are checked first)");
    set->add_option("NAME VALUE", args->words, "Setting name and value: on/off for switches, text, an address")
        ->required();
    set->add_flag("--machine", args->machine, "The machine-wide store (SECTION KEY VALUE, as given)");
    set->callback([&context, args] { context.run([&] { return runSet(context, *args); }); });
    cmd->add_subcommand("list", "Print every setting: name, stored key, value and default")->callback([&context] {
        context.run([&] {
            for (const auto& s : context.quietSession().listSettings()) {
                std::cout << s.name << " = " << shown(s.value) << (s.stored ? "" : " (default)") << "\n"
                          << "    " << s.section << "/" << s.key << ", default " << (s.defaultValue.empty() ? "empty" : shown(s.defaultValue))
                          << (s.readOnly ? ", kept by the program" : "") << ": " << s.meaning << "\n";
            }
            return kExitOk;
        });
    });
});

}  // namespace
}  // namespace vedozer::cli
