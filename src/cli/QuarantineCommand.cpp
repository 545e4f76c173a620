// vedozer exclude ITEM... and vedozer quarantine list|restore|open
#include <CLI/CLI.hpp>

#include <iostream>

#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CliHost.h"
#include "cli/CommandRegistry.h"
#include "cli/CliBackend.h"
#ifndef _WIN32
#include "platform/image/ImageSystemRestore.h"
#endif
#include "removal/Exclusion.h"
#include "removal/QuarantineRestore.h"
#include "removal/Removal.h"
#include "text/CodePage.h"

namespace vedozer::cli {
namespace {

std::string utf8(const std::string& s) { return text::cp1252ToUtf8(s); }

ExclusionContext exclusionContext(CliContext& context, Session& session) {
    return ExclusionContext{context.host(),       session.languages(), session.identity().programName,
                            session.dataFiles(), session.dataFolder(), session.exclusions()};
}

int runList(CliContext& context) {
    Session& session = context.session();
    auto entries = session.removal().quarantine().entries();
    std::cout << "Quarantine: " << utf8(session.dataFolder()) << "/quarantine\n";
    if (entries.empty()) std::cout << "  (no quarantined items)\n";
    for (const auto& line : describeQuarantine(entries)) std::cout << "  " << utf8(line) << "\n";
#ifndef _WIN32  // on Windows restore points are the system's own, listed by System Restore
    auto points = ImageSystemRestore::list(session.dataFolder() + "/quarantine");
    std::cout << "Restore points (hive copies made before a removal changed them):\n";
    if (points.empty()) std::cout << "  (none)\n";
    for (const auto& p : points) {
        std::cout << "  " << p.name << "  " << p.began << " - " << (p.ended.empty() ? "(not closed)" : p.ended)
                  << "  " << utf8(p.description) << "\n";
        for (const auto& h : p.hives) std::cout << "      " << h.storedName << " <- " << h.hivePath << "\n";
    }
#endif
    return kExitOk;
}

int runRestore(CliContext& context, const std::vector<std::string>& ids, bool all, bool force) {
    if (!context.hasTarget()) throw CliError("give the Windows installation to restore into with --target DIR");
    if (all == !ids.empty()) throw CliError("give the IDs to restore, or --all");
    Session& session = context.session(/*takeInstanceLock=*/true);
    Quarantine& q = session.removal().quarantine();
    std::vector<QuarantineRestoreResult> results;
    if (all) {
        results = restoreAllQuarantined(q, session.files(), *session.platform().registry, force);
    } else {
        for (const auto& id : ids) {
            uint64_t n = 0;
            try {
                n = std::stoull(id);
            } catch (const std::exception&) {
                throw CliError("\"" + id + "\" is not a quarantine ID (see `vedozer quarantine list`)");
            }
            results.push_back(restoreQuarantined(q, session.files(), *session.platform().registry, n, force));
        }
    }
    bool failed = false;
    for (const auto& r : results) {
        std::cout << r.id << ": " << utf8(r.message) << "\n";
        failed = failed || r.status != QuarantineRestoreResult::Status::Restored;
    }
    if (results.empty()) std::cout << "nothing to restore\n";
    return failed ? kExitError : kExitOk;
}

Registration reg(70, [](CLI::App& app, CliContext& context) {
    auto items = std::make_shared<std::vector<std::string>>();
    auto* exclude = app.add_subcommand("exclude", "Add items (paths, registry locations, spyware names) to the "
                                                  "exclusion list");
    exclude->add_option("ITEM", *items)->required();
    exclude->callback([&context, items] {
        context.run([&] {
            Session& session = context.session();
            ExclusionContext ex = exclusionContext(context, session);
            std::vector<std::string> cp;
            for (const auto& i : *items) cp.push_back(text::utf8ToCp1252(i));
            excludeItems(ex, cp);
            std::cout << "exclusion list: " << utf8(session.dataFolder()) << "/ENoSignature.dat\n";
            return kExitOk;
        });
    });

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
    auto* open = q->add_subcommand("open", "Open the quarantine folder (or --exclusions: the exclusion list)");
    auto exclusions = std::make_shared<bool>(false);
    open->add_flag("--exclusions", *exclusions);
    open->callback([&context, exclusions] {
        context.run([&] {
            Session& session = context.session();
            ExclusionContext ex = exclusionContext(context, session);
            if (!mnuQuarItem_Click(ex, session.platform().shell, *exclusions ? 1 : 0))
                throw CliError("could not open it with the desktop (xdg-open)");
            return kExitOk;
        });
    });
});

}  // namespace
}  // namespace vedozer::cli
