// vedozer info: the status summary.
#include <CLI/CLI.hpp>

#include <iostream>

#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CommandRegistry.h"
#include "cli/Json.h"
#include "text/CodePage.h"

namespace vedozer::cli {
namespace {

struct InfoOptions {
    bool json = false;
};

int runInfo(CliContext& context, const InfoOptions& options) {
    Session& session = context.session();
    StatusSummary s = session.statusSummary();
    const DefinitionSet& d = s.definitions;
    if (options.json) {
        std::cout << "{\"program\":" << jsonString(session.identity().programName)
                  << ",\"version\":" << jsonString(s.version) << ",\"definitions\":" << d.total
                  << ",\"definitionCounts\":{\"cookies\":" << d.cookieCount << ",\"executables\":"
                  << d.executableCount << ",\"registry\":" << d.registryCount << ",\"files\":" << d.fileCount
                  << "},\"definitionDate\":" << jsonString(s.definitionDate)
                  << ",\"removed\":" << jsonString(s.removedTotal) << ",\"lastScan\":" << jsonString(s.lastScan)
                  << ",\"lastFullScan\":" << jsonString(s.lastCompleteScan)
                  << ",\"dataFolder\":" << jsonString(session.dataFolder())
                  << ",\"sendAnonymousData\":" << (s.sendsAnonymousData ? "true" : "false") << "}\n";
        return kExitOk;
    }
    auto u = [](const std::string& t) { return text::cp1252ToUtf8(t); };
    std::cout << u(session.identity().programName) << " " << s.version << "\n"
              << "Definitions:          " << s.definitionCount << " (cookies " << d.cookieCount << ", executables "
              << d.executableCount << ", registry " << d.registryCount << ", files and folders " << d.fileCount
              << ")\n"
              << "Definitions date:     " << u(s.definitionDate) << "\n"
              << "Items removed:        " << u(s.removedTotal) << "\n"
              << "Last scan:            " << u(s.lastScan) << "\n"
              << "Last complete scan:   " << u(s.lastCompleteScan) << "\n"
              << "Data folder:          " << u(session.dataFolder()) << "\n"
              << "Anonymous data:       "
              << (s.sendsAnonymousData
                      ? "sent after each removal: the file names of the programs running from the scanned system "
                        "(turn off with `vedozer settings set OptionAndSettings chkSendData 0`)"
                      : "not sent")
              << "\n";
    return kExitOk;
}

Registration reg(10, [](CLI::App& app, CliContext& context) {
    auto options = std::make_shared<InfoOptions>();
    auto* cmd = app.add_subcommand("info", "Show the status: definitions, their date, removed total, last scans");
    cmd->add_flag("--json", options->json, "Machine-readable output");
    cmd->callback([&context, options] { context.run([&] { return runInfo(context, *options); }); });
});

}  // namespace
}  // namespace vedozer::cli
