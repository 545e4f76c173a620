// vedozer report: prints the last scan report.
#include <CLI/CLI.hpp>

#include <iostream>

#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CommandRegistry.h"
#include "text/CodePage.h"
#include "text/Text.h"

namespace vedozer::cli {

bool printLastReport(Session& session, std::ostream& out) {
    auto text = session.lastReport();
    if (!text) return false;
    out << text::cp1252ToUtf8(text::replaceAll(*text, "\r\n", "\n"));
    return true;
}

namespace {

Registration reg(40, [](CLI::App& app, CliContext& context) {
    auto* cmd = app.add_subcommand("report", "Print the report of the last scan");
    cmd->callback([&context] {
        context.run([&] {
            Session& session = context.session();
            if (!printLastReport(session, std::cout))
                throw CliError("there is no scan report yet (" + session.reportPath() + ")");
            return kExitOk;
        });
    });
});

}  // namespace
}  // namespace vedozer::cli
