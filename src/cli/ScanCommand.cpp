// vedozer scan: the scan run on an offline Windows installation, optionally followed by removal
// or exclusion of everything found.
#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>

#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CliHost.h"
#include "cli/CommandRegistry.h"
#include "cli/ScanOutput.h"
#include "cli/CliBackend.h"
#include "text/CodePage.h"

namespace vedozer::cli {
namespace {

struct ScanOptions {
    bool quick = false, full = false;
    bool noCookies = false, noMemory = false, noRegistry = false;
    bool log = false;
    std::string json;
    bool remove = false, exclude = false, yes = false;
    bool quiet = false;
};

ScanRequest requestFor(const ScanOptions& o) {
    if (o.quick && o.full) throw CliError("--quick and --full exclude each other");
    if (o.remove && o.exclude) throw CliError("--remove and --exclude exclude each other");
    ScanRequest r;
    // The scan mode is an option the user keeps; the stage switches hold for this run only.
    if (o.quick) r.mode = ScanMode::Quick;
    if (o.full) r.mode = ScanMode::Complete;
    if (o.noCookies) r.cookies = false;
    if (o.noMemory) r.memory = false;
    if (o.noRegistry) r.registry = false;
    if (o.log) r.writeReport = true;
    if (o.remove) r.then = AfterScan::RemoveEverything;
    if (o.exclude) r.then = AfterScan::ExcludeEverything;
    return r;
}

void writeJson(CliContext& context, Session& session, const ScanOutcome& outcome, const std::string& target) {
    if (target.empty()) return;
    if (target == "-") {
        writeScanJson(std::cout, session, outcome, context.platformWarnings());
        return;
    }
    std::ofstream out(target, std::ios::binary);
    writeScanJson(out, session, outcome, context.platformWarnings());
    if (!out) throw CliError("cannot write " + target);
}

int runScanCommand(CliContext& context, const ScanOptions& o) {
    if (!context.hasTarget()) throw CliError("give the Windows installation to scan with --target DIR");
    ScanRequest request = requestFor(o);
    CliHost& host = context.host();
    host.assumeYes = o.yes;
    host.quiet = o.quiet;
    host.showProgress = !o.quiet && o.json != "-";
    Session& session = context.session(/*takeInstanceLock=*/true);
    host.onYield = [&session] {
        if (CliHost::stopRequested() && !session.stopRequested()) {
            session.requestStop();
            std::cerr << "\nstopping (press Ctrl+C again to abort)...\n";
        }
    };
    ScanOutcome outcome = session.scan(request);
    host.finishProgressLine();
    if (outcome.run.definitionsMissing)
        throw CliError("definition files are missing; run `vedozer update` (or `vedozer init` for the shipped set)");

    std::ostream& human = o.json == "-" ? std::cerr : std::cout;
    if (!o.quiet) writeScanSummary(human, session, outcome);
    writeAfterScan(human, session, outcome);
    writeJson(context, session, outcome, o.json);

    if (outcome.exclusion && outcome.exclusion->failed()) {
        // The rows whose entries could not be written are still in the results.
        for (const auto& e : outcome.exclusion->entries)
            if (e.outcome.failed())
                std::cerr << "vedozer: error: not excluded: " << text::cp1252ToUtf8(e.item) << ": "
                          << text::cp1252ToUtf8(e.outcome.reason) << "\n";
        return kExitError;
    }
    bool remaining = !session.results().removalList().empty();
    if (outcome.run.cancelled && !remaining) {
        // An unfinished scan proves nothing; don't let a script take it for a clean system.
        std::cerr << "vedozer: the scan was stopped before it finished; the result is incomplete\n";
        return kExitError;
    }
    // What a removal could not take away is still on the system (and still listed).
    if (outcome.removal && outcome.removal->notRemoved() > 0) remaining = true;
    return remaining ? kExitFound : kExitOk;
}

Registration reg(30, [](CLI::App& app, CliContext& context) {
    auto o = std::make_shared<ScanOptions>();
    auto* cmd = app.add_subcommand("scan", "Scan the Windows installation given by --target");
    cmd->add_flag("--quick", o->quick, "Quick scan (kept as the scan mode)");
    cmd->add_flag("--full", o->full, "Complete system scan (kept as the scan mode)");
    cmd->add_flag("--no-cookies", o->noCookies, "Skip the cookie stage this time");
    cmd->add_flag("--no-memory", o->noMemory, "Skip the running-programs stage this time");
    cmd->add_flag("--no-registry", o->noRegistry, "Skip the registry stage this time");
    cmd->add_flag("--log", o->log, "Write the scan report even when logging is off");
    cmd->add_option("--json", o->json, "Write the result as JSON to FILE, or to stdout with -");
    cmd->add_flag("--remove", o->remove, "Remove everything found (quarantined first); asks unless --yes");
    cmd->add_flag("--exclude", o->exclude, "Put everything found on the exclusion list; asks unless --yes");
    cmd->add_flag("--yes,-y", o->yes, "Answer yes to questions");
    cmd->add_flag("--quiet,-q", o->quiet, "No progress and no summary");
    cmd->footer("Exit code: 0 nothing found, 1 threats found (or left after --remove), 2 error or a scan stopped "
                "before it finished with nothing found so far.");
    cmd->callback([&context, o] { context.run([&] { return runScanCommand(context, *o); }); });
});

}  // namespace

bool printLastReport(Session& session, std::ostream& out);  // ReportCommand.cpp

int runDemoScan(CliContext& context) {
    ScanOptions o;
    o.log = true;
    int code = runScanCommand(context, o);
    std::cout << "\n";
    printLastReport(context.session(), std::cout);
    // Finding the planted adware is the demo working, not a reason to fail.
    return code == kExitError ? kExitError : kExitOk;
}

}  // namespace vedozer::cli
