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
#include "removal/Exclusion.h"
#include "removal/Removal.h"
#include "removal/WorkListChecks.h"
#include "settings/SettingsOverlay.h"
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

void applyOptions(CliContext& context, Session& session, const ScanOptions& o) {
    if (o.quick && o.full) throw CliError("--quick and --full exclude each other");
    if (o.remove && o.exclude) throw CliError("--remove and --exclude exclude each other");
    // The scan mode is an option the user keeps; the stage switches hold for this run only.
    if (o.quick) session.settings().saveOptionPair("OptionAndSettings", "optScanOnlyKnownSoftwares",
                                                   "optScanAllSelectedHardDrive");
    if (o.full) session.settings().saveOptionPair("OptionAndSettings", "optScanAllSelectedHardDrive",
                                                  "optScanOnlyKnownSoftwares");
    SettingsOverlay& overlay = context.settingsOverlay();
    if (o.noCookies) overlay.override("OptionAndSettings", "chkScanCookies", "0");
    if (o.noMemory) overlay.override("OptionAndSettings", "chkSweepMemory", "0");
    if (o.noRegistry) overlay.override("OptionAndSettings", "chkScanRegistry", "0");
    if (o.log) overlay.override("OptionAndSettings", "chkMakeLog", "1");
}

int runScanCommand(CliContext& context, const ScanOptions& o) {
    if (!context.hasTarget()) throw CliError("give the Windows installation to scan with --target DIR");
    CliHost& host = context.host();
    host.assumeYes = o.yes;
    host.quiet = o.quiet;
    host.showProgress = !o.quiet && o.json != "-";
    Session& session = context.session(/*takeInstanceLock=*/true);
    applyOptions(context, session, o);
    host.onYield = [&session] {
        if (CliHost::stopRequested() && !session.stopFlag) {
            session.stopFlag = true;
            std::cerr << "\nstopping (press Ctrl+C again to abort)...\n";
        }
    };
    ScanRunState state = session.scan(false);
    host.finishProgressLine();
    if (state.definitionsMissing)
        throw CliError("definition files are missing; run `vedozer update` (or `vedozer init` for the shipped set)");

    std::ostream& human = o.json == "-" ? std::cerr : std::cout;
    if (!o.quiet) writeScanSummary(human, session, state);

    Removal* removal = nullptr;
    bool anyFound = !session.results().removalList().empty();
    if (anyFound && !state.cancelled && o.remove) {
        removal = &session.removal();
        cmdSelectAll_Click(session.results());
        Removal::DeleteOutcome outcome = removal->Command4_Click();
        host.finishProgressLine();
        if (outcome == Removal::DeleteOutcome::Declined) {
            human << "Nothing removed.\n";
        } else if (outcome == Removal::DeleteOutcome::Removed) {
            human << "Removed; backups are in " << text::cp1252ToUtf8(session.dataFolder()) << "/quarantine\n";
            for (const auto& n : removal->notes()) human << "  note: " << text::cp1252ToUtf8(n) << "\n";
            if (!removal->lstProblem().empty()) {
                human << "Could not be removed:\n";
                for (const auto& p : removal->lstProblem()) human << "  " << text::cp1252ToUtf8(p) << "\n";
            }
        }
    } else if (anyFound && !state.cancelled && o.exclude) {
        cmdSelectAll_Click(session.results());
        ExclusionContext ex{host, session.languages(), session.identity().programName, session.dataFiles(),
                            session.dataFolder(), session.exclusions()};
        if (cmdExclude_Click(ex, session.results()) == ExcludeOutcome::Excluded)
            human << "Excluded; these items will not be reported again.\n";
    }

    if (!o.json.empty()) {
        if (o.json == "-") {
            writeScanJson(std::cout, session, state, removal, context.platform().warnings());
        } else {
            std::ofstream out(o.json, std::ios::binary);
            writeScanJson(out, session, state, removal, context.platform().warnings());
            if (!out) throw CliError("cannot write " + o.json);
        }
    }
    bool remaining = !session.results().removalList().empty();
    if (state.cancelled && !remaining) {
        // An unfinished scan proves nothing; don't let a script take it for a clean system.
        std::cerr << "vedozer: the scan was stopped before it finished; the result is incomplete\n";
        return kExitError;
    }
    if (o.remove && remaining && removal) {
        // Rows the removal took out are gone from the list; what is left is still on the system.
        remaining = !removal->lstProblem().empty() || !session.results().removalList().empty();
    }
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
