// vedozer update [--server URL]: Live Update from the definition server.
#include <CLI/CLI.hpp>

#include <iostream>

#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CliHost.h"
#include "cli/CommandRegistry.h"
#include "cli/Terminal.h"
#include "BuildIdentity.h"

namespace vedozer::cli {
namespace {

int runUpdate(CliContext& context, const std::string& serverOption) {
    Session& session = context.session(true);
    LiveUpdateReport report = session.liveUpdate(serverOption);
    context.host().flushUpdateLine();
    int code = liveUpdateExitCode(report);
    std::string problem = describeUpdateProblem(report.check);
    // A failed update says only what failed: never that the definitions are the most recent.
    if (code != kExitOk) {
        std::cerr << "vedozer: error: "
                  << shown(problem.empty() ? "the update did not complete" : problem) << " ("
                  << shownUtf8(session.definitionServer(serverOption)) << ")\n";
        return code;
    }
    std::cout << shown(report.message) << "\n";
    if (report.outcome == LiveUpdateOutcome::Updated) {
        std::cout << "Definitions: " << report.definitionTotal << ", dated " << shown(report.check.newDate) << " PST ("
                  << report.check.count << " changes)\n";
    }
    if (!problem.empty()) std::cerr << "vedozer: " << shown(problem) << "\n";
    return code;
}

struct UpdateArgs {
    std::string server;
};

Registration reg(40, [](CLI::App& app, CliContext& context) {
    auto args = std::make_shared<UpdateArgs>();
    auto* update = app.add_subcommand("update", "Live Update: fetch and install newer definitions from the server");
    update->add_option("--server", args->server,
                       "Definition server, e.g. http://127.0.0.1:8080 (default: setting Settings/DefinitionServer, "
                       "else " VEDOZER_BUILD_DEFAULT_SERVER ")");
    update->callback([&context, args] { context.run([&] { return runUpdate(context, args->server); }); });
});

}  // namespace
}  // namespace vedozer::cli
