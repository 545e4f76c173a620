// vedozer scan: the scan run on an offline Windows installation, optionally followed by removal
// or exclusion of everything found.
#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>

#include "app/Session.h"
#include "cli/CliBackend.h"
#include "cli/CliContext.h"
#include "cli/CliHost.h"
#include "cli/CommandRegistry.h"
#include "cli/ScanOutput.h"
#include "cli/Terminal.h"

namespace vedozer::cli {
namespace {

struct ScanOptions {
    bool quick = false, full = false;
    bool noCookies = false, noMemory = false, noRegistry = false;
    bool report = false;  // write the report even when the setting says no
    std::string logFile;
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
    if (o.report || !o.logFile.empty()) r.writeReport = true;
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

// The report as stored in the data folder, also at the place --log names.
void copyReport(Session& session, const std::string& file) {
    auto report = session.lastReport();
    if (!report) throw CliError("the scan report was not written, so it cannot go to " + file);
    std::ofstream out(file, std::ios::binary);
    out << *report;
    if (!out.flush()) throw CliError("cannot write the scan report to " + file);
}

// Anonymous data may go out after a removal: the person is asked once, on a terminal. Without one,
// this run sends nothing and the question stays open.
void settleAnonymousData(Session& session, CliHost& host, ScanRequest& request) {
    if (request.then != AfterScan::RemoveEverything || session.anonymousDataChoice() != AnonymousDataChoice::NotAsked)
        return;
    if (host.canAskPerson()) session.askAnonymousData();
    else request.sendAnonymousData = false;
}

int runScanCommand(CliContext& context, const ScanOptions& o) {
    if (o.json == "-") {
        context.jsonOnStdout = true;
        context.commandName = "scan";
    }
    if (!context.hasTarget()) throw CliError("give the Windows installation to scan with --target DIR (its drive C:)");
    ScanRequest request = requestFor(o);
    CliHost& host = context.host();
    host.assumeYes = o.yes;
    host.quiet = o.quiet;
    host.showProgress = !o.quiet && o.json != "-";
    Session& session = context.session(/*takeInstanceLock=*/true);
    settleAnonymousData(session, host, request);
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
    writeScanText(human, session, outcome, o.quiet);
    writeAfterScan(human, session, outcome);
    writeJson(context, session, outcome, o.json);
    if (!o.logFile.empty()) copyReport(session, o.logFile);

    if (outcome.exclusion && outcome.exclusion->failed()) {
        // The rows whose entries could not be written are still in the results.
        for (const auto& e : outcome.exclusion->entries)
            if (e.outcome.failed())
                std::cerr << "vedozer: error: not excluded: " << shown(e.item) << ": " << shown(e.outcome.reason) << "\n";
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

void addScanOptions(CLI::App* cmd, ScanOptions& o) {
    cmd->add_flag("--full", o.full,
                  "Record this and later scans as complete scans (they set both the last scan and the last complete "
                  "scan time); kept as the setting complete-scan");
    cmd->add_flag("--quick", o.quick,
                  "Record this and later scans as quick scans (only the last scan time); the stages are the same");
    cmd->add_flag("--no-cookies", o.noCookies, "Skip the cookie stage this time");
    cmd->add_flag("--no-memory", o.noMemory, "Skip the running-programs stage this time");
    cmd->add_flag("--no-registry", o.noRegistry, "Skip the registry stage this time");
    cmd->add_flag("--report", o.report, "Write the scan report even when the setting write-report is off");
    cmd->add_option("--log", o.logFile,
                    "Write the scan report to FILE as well (the report in the data folder is written too)")
        ->type_name("FILE");
    cmd->add_option("--json", o.json, "Write the result as JSON (schema vedozer.scan/1) to FILE, or to stdout with -")
        ->type_name("FILE|-");
    cmd->add_flag("--remove", o.remove, "Remove everything found (quarantined first); asks unless --yes");
    cmd->add_flag("--exclude", o.exclude, "Put everything found on the exclusion list; asks unless --yes");
    cmd->add_flag("--yes,-y", o.yes, "Answer yes to the removal and exclusion questions");
    cmd->add_flag("--quiet,-q", o.quiet, "No progress and no summary: only one line per trace found");
}

Registration reg(30, [](CLI::App& app, CliContext& context) {
    auto o = std::make_shared<ScanOptions>();
    auto* cmd = app.add_subcommand("scan", "Scan the Windows installation given by --target");
    addScanOptions(cmd, *o);
    cmd->footer("Each trace found is one line: LOCATION: NAME (TYPE) FOUND.\nExit code: 0 nothing found, 1 threats "
                "found (or left after --remove), 2 error or a scan stopped before it finished with nothing found "
                "so far.");
    cmd->callback([&context, o] { context.run([&] { return runScanCommand(context, *o); }); });
});

}  // namespace

bool printLastReport(Session& session, std::ostream& out);  // ReportCommand.cpp

int runDemoScan(CliContext& context) {
    ScanOptions o;
    o.report = true;
    int code = runScanCommand(context, o);
    std::cout << "\n";
    printLastReport(context.session(), std::cout);
    // Finding the planted adware is the demo working, not a reason to fail.
    return code == kExitError ? kExitError : kExitOk;
}

}  // namespace vedozer::cli
