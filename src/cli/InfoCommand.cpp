// vedozer info: the status page.
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
    session.definitionsMissing = !session.missingDefinitionFiles().empty();
    StatusPage page = session.RefreshStatusPage();
    bool sendData = session.settings().get("OptionAndSettings", "chkSendData", "1") == "1";
    const auto& d = session.definitions();
    if (options.json) {
        std::cout << "{\"program\":" << jsonString(session.identity().programName)
                  << ",\"version\":" << jsonString(page.lblVersion) << ",\"definitions\":" << d.total
                  << ",\"definitionCounts\":{\"cookies\":" << d.cookieCount << ",\"executables\":"
                  << d.executableCount << ",\"registry\":" << d.registryCount << ",\"files\":" << d.fileCount
                  << "},\"definitionDate\":" << jsonString(page.lblDefVersion)
                  << ",\"removed\":" << jsonString(page.lblDefRemoved)
                  << ",\"lastScan\":" << jsonString(page.lblLastScan)
                  << ",\"lastFullScan\":" << jsonString(page.lblLastFullScan)
                  << ",\"dataFolder\":" << jsonString(session.dataFolder())
                  << ",\"sendAnonymousData\":" << (sendData ? "true" : "false") << "}\n";
        return kExitOk;
    }
    auto u = [](const std::string& s) { return text::cp1252ToUtf8(s); };
    std::cout << u(session.identity().programName) << " " << page.lblVersion << "\n"
              << "Definitions:          " << page.lblDefCount << " (cookies " << d.cookieCount << ", executables "
              << d.executableCount << ", registry " << d.registryCount << ", files and folders " << d.fileCount
              << ")\n"
              << "Definitions date:     " << u(page.lblDefVersion) << "\n"
              << "Items removed:        " << u(page.lblDefRemoved) << "\n"
              << "Last scan:            " << u(page.lblLastScan) << "\n"
              << "Last complete scan:   " << u(page.lblLastFullScan) << "\n"
              << "Data folder:          " << u(session.dataFolder()) << "\n"
              << "Anonymous data:       "
              << (sendData ? "sent after scans and removals (program names in memory only; turn off with "
                             "`vedozer settings set OptionAndSettings chkSendData 0`)"
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
