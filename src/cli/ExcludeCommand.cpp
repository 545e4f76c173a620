// vedozer exclude ITEM... | --list | --remove ENTRY, and vedozer exclusions list|remove
#include <CLI/CLI.hpp>

#include <iostream>

#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CommandRegistry.h"
#include "cli/Terminal.h"
#include "text/CodePage.h"

namespace vedozer::cli {
namespace {

int listExclusions(CliContext& context) {
    Session& session = context.session();
    auto entries = session.exclusions();
    if (!entries) throw CliError("cannot read " + shown(session.exclusionListPath()));
    size_t n = 0;
    for (const auto& e : *entries) std::cout << ++n << ". " << shown(e) << "\n";
    if (entries->empty()) std::cout << "(the exclusion list is empty: " << shown(session.exclusionListPath()) << ")\n";
    return kExitOk;
}

// An entry named as it is written, or by its number in the listing.
int removeExclusion(CliContext& context, const std::string& given) {
    Session& session = context.session();
    std::string entry = text::utf8ToCp1252(given);
    bool number = !given.empty() && given.size() < 10 && given.find_first_not_of("0123456789") == std::string::npos;
    if (number) {
        auto entries = session.exclusions();
        size_t n = std::stoul(given);
        if (!entries || n == 0 || n > entries->size())
            throw CliError("the exclusion list has " + std::to_string(entries ? entries->size() : 0) +
                           " entries; there is no entry " + given + " (see vedozer exclude --list)");
        entry = (*entries)[n - 1];
    }
    Outcome outcome = session.removeExclusion(entry);
    if (outcome.failed()) throw CliError(shown(outcome.reason));
    if (outcome.status == OutcomeStatus::Skipped) {
        std::cerr << "vedozer: " << shown(entry) << ": " << shown(outcome.reason) << " (see vedozer exclude --list)\n";
        return kExitFound;
    }
    std::cout << "taken off the exclusion list: " << shown(entry) << "\n";
    return kExitOk;
}

int excludeFound(CliContext& context, const std::vector<std::string>& items) {
    Session& session = context.session();
    bool ok = true;
    for (const auto& item : items) {
        FoundExclusion found = session.excludeFound(text::utf8ToCp1252(item));
        for (size_t i = 0; i < found.result.entries.size(); ++i) {
            const ItemOutcome& e = found.result.entries[i];
            if (e.outcome.failed()) {
                std::cerr << "vedozer: error: not excluded: " << shownUtf8(item) << ": " << shown(e.outcome.reason)
                          << "\n";
                ok = false;
                continue;
            }
            std::cout << "added to the exclusion list: " << shown(e.item);
            if (i < found.explanations.size()) std::cout << "  (" << shown(found.explanations[i]) << ")";
            std::cout << "\n";
        }
    }
    std::cout << "exclusion list: " << shown(session.exclusionListPath()) << "\n";
    return ok ? kExitOk : kExitError;
}

struct ExcludeArgs {
    std::vector<std::string> items;
    bool list = false;
    std::string remove;
};

Registration reg(70, [](CLI::App& app, CliContext& context) {
    auto args = std::make_shared<ExcludeArgs>();
    auto* exclude = app.add_subcommand(
        "exclude", "Put what the last scan found on the exclusion list: an item by its number in the scan's list, "
                   "one of its locations, or its spyware name (then every detection of that name is held back)");
    exclude->add_option("ITEM", args->items, "NUMBER, LOCATION or NAME from the last scan");
    auto* list = exclude->add_flag("--list", args->list, "Print the exclusion list, numbered");
    auto* remove = exclude->add_option("--remove", args->remove, "Take an entry (or entry number) off the list")
                       ->type_name("ENTRY");
    list->excludes(remove);
    exclude->callback([&context, args] {
        context.run([&] {
            int chosen = !args->items.empty() + args->list + !args->remove.empty();
            if (chosen != 1) throw CliError("give what to exclude, or --list, or --remove ENTRY");
            if (args->list) return listExclusions(context);
            if (!args->remove.empty()) return removeExclusion(context, args->remove);
            return excludeFound(context, args->items);
        });
    });

    // The older spelling of --list and --remove.
    auto* exclusions = app.add_subcommand("exclusions", "The exclusion list (the same as exclude --list/--remove)");
    exclusions->require_subcommand(1);
    exclusions->add_subcommand("list", "Print the entries of the exclusion list")->callback([&context] {
        context.run([&] { return listExclusions(context); });
    });
    auto entry = std::make_shared<std::string>();
    auto* take = exclusions->add_subcommand("remove", "Take an entry off the exclusion list (every line equal to it)");
    take->add_option("ENTRY", *entry)->required();
    take->callback([&context, entry] { context.run([&] { return removeExclusion(context, *entry); }); });
});

}  // namespace
}  // namespace vedozer::cli
