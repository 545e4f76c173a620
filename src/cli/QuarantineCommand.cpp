// vedozer exclude ITEM..., vedozer exclusions list|remove and vedozer quarantine list|restore|restore-point|open
#include <CLI/CLI.hpp>

#include <iostream>

#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CliHost.h"
#include "cli/CommandRegistry.h"
#include "text/CodePage.h"

namespace vedozer::cli {
namespace {

std::string utf8(const std::string& s) { return text::cp1252ToUtf8(s); }

// Prints each failed item and tells whether all went well.
bool report(const std::vector<ItemOutcome>& items, const char* what) {
    bool ok = true;
    for (const auto& i : items) {
        if (!i.outcome.failed()) continue;
        std::cerr << "vedozer: error: " << what << " " << utf8(i.item) << ": " << utf8(i.outcome.reason) << "\n";
        ok = false;
    }
    return ok;
}

int runList(CliContext& context) {
    Session& session = context.session();
    auto entries = session.quarantineItems();
    std::cout << "Quarantine: " << utf8(session.quarantineFolderPath()) << "\n";
    if (entries.empty()) std::cout << "  (no quarantined items)\n";
    for (const auto& line : describeQuarantine(entries)) std::cout << "  " << utf8(line) << "\n";
    if (!session.restorePointsKeptHere()) return kExitOk;  // the system's own tool lists them
    auto points = session.restorePoints();
    std::cout << "Restore points (hive copies made before a removal changed them):\n";
    if (points.empty()) std::cout << "  (none)\n";
    for (const auto& p : points) {
        std::cout << "  " << p.name << "  " << p.began << " - " << (p.ended.empty() ? "(not closed)" : p.ended)
                  << "  " << utf8(p.description) << "\n";
        for (const auto& d : p.details) std::cout << "      " << utf8(d) << "\n";
    }
    return kExitOk;
}

int runRestore(CliContext& context, const std::vector<std::string>& ids, bool all, bool force) {
    if (!context.hasTarget()) throw CliError("give the Windows installation to restore into with --target DIR");
    if (all == !ids.empty()) throw CliError("give the IDs to restore, or --all");
    std::vector<uint64_t> numbers;
    for (const auto& id : ids) {
        try {
            numbers.push_back(std::stoull(id));
        } catch (const std::exception&) {
            throw CliError("\"" + id + "\" is not a quarantine ID (see `vedozer quarantine list`)");
        }
    }
    Session& session = context.session(/*takeInstanceLock=*/true);
    auto results = all ? session.restoreAllQuarantined(force) : session.restoreQuarantined(numbers, force);
    bool failed = false;
    for (const auto& r : results) {
        std::cout << r.id << ": " << utf8(r.message) << "\n";
        failed = failed || r.status != QuarantineRestoreResult::Status::Restored;
    }
    if (results.empty()) std::cout << "nothing to restore\n";
    return failed ? kExitError : kExitOk;
}

int runRestorePoint(CliContext& context, const std::string& name) {
    if (!context.hasTarget()) throw CliError("give the Windows installation to restore into with --target DIR");
    Session& session = context.session(/*takeInstanceLock=*/true);
    Outcome outcome = session.restoreRestorePoint(name);
    if (outcome.failed()) throw CliError(utf8(outcome.reason));
    std::cout << name << ": the registry hive files are back as they were before that removal\n";
    return kExitOk;
}

int runOpen(CliContext& context, bool exclusions) {
    Session& session = context.session();
    Outcome outcome = exclusions ? session.openExclusionList() : session.openQuarantineFolder();
    if (outcome.failed()) throw CliError(utf8(outcome.reason));
    return kExitOk;  // nothing to open (no exclusion list yet) was said; it is no error
}

void installExclusionCommands(CLI::App& app, CliContext& context) {
    auto items = std::make_shared<std::vector<std::string>>();
    auto* exclude = app.add_subcommand("exclude", "Add items (paths, registry locations, spyware names) to the "
                                                  "exclusion list");
    exclude->add_option("ITEM", *items)->required();
    exclude->callback([&context, items] {
        context.run([&] {
            Session& session = context.session();
            std::vector<std::string> cp;
            for (const auto& i : *items) cp.push_back(text::utf8ToCp1252(i));
            bool ok = report(session.excludeItems(cp).entries, "not excluded:");
            std::cout << "exclusion list: " << utf8(session.exclusionListPath()) << "\n";
            return ok ? kExitOk : kExitError;
        });
    });

    auto* list = app.add_subcommand("exclusions", "The exclusion list");
    list->require_subcommand(1);
    list->add_subcommand("list", "Print the entries of the exclusion list")->callback([&context] {
        context.run([&] {
            Session& session = context.session();
            auto entries = session.exclusions();
            if (!entries) throw CliError("cannot read " + utf8(session.exclusionListPath()));
            for (const auto& e : *entries) std::cout << utf8(e) << "\n";
            return kExitOk;
        });
    });
    auto entry = std::make_shared<std::string>();
    auto* remove = list->add_subcommand("remove", "Take an entry off the exclusion list (every line equal to it)");
    remove->add_option("ENTRY", *entry)->required();
    remove->callback([&context, entry] {
        context.run([&] {
            Outcome outcome = context.session().removeExclusion(text::utf8ToCp1252(*entry));
            if (outcome.failed()) throw CliError(utf8(outcome.reason));
            if (outcome.status == OutcomeStatus::Skipped) {
                std::cerr << "vedozer: " << *entry << ": " << utf8(outcome.reason) << "\n";
                return kExitFound;
            }
            return kExitOk;
        });
    });
}

Registration reg(70, [](CLI::App& app, CliContext& context) {
    installExclusionCommands(app, context);

    auto* q = app.add_subcommand("quarantine", "Quarantined items and restore points");
    q->require_subcommand(1);
    q->add_subcommand("list", "List quarantined items and restore points")->callback([&context] {
        context.run([&] { return runList(context); });
    });
    auto ids = std::make_shared<std::vector<std::string>>();
    auto all = std::make_shared<bool>(false);
    auto force = std::make_shared<bool>(false);
    auto* restore = q->add_subcommand("restore", "Put quarantined items back where they were");
    restore->add_option("ID", *ids, "Quarantine IDs");
    restore->add_flag("--all", *all, "Everything not restored yet, newest first");
    restore->add_flag("--force", *force, "Replace what exists there now");
    restore->callback([&context, ids, all, force] {
        context.run([&] { return runRestore(context, *ids, *all, *force); });
    });
    auto point = std::make_shared<std::string>();
    auto* restorePoint = q->add_subcommand("restore-point", "Put the registry back as a restore point saved it");
    restorePoint->add_option("NAME", *point, "Restore point (see `vedozer quarantine list`)")->required();
    restorePoint->callback([&context, point] { context.run([&] { return runRestorePoint(context, *point); }); });
    auto* open = q->add_subcommand("open", "Open the quarantine folder (or --exclusions: the exclusion list)");
    auto exclusions = std::make_shared<bool>(false);
    open->add_flag("--exclusions", *exclusions);
    open->callback([&context, exclusions] { context.run([&] { return runOpen(context, *exclusions); }); });
});

}  // namespace
}  // namespace vedozer::cli
