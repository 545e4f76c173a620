// vedozer submit NAME [--server URL]: submits a file name to the definition service for research.
#include <CLI/CLI.hpp>

#include <iostream>

#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CommandRegistry.h"
#include "cli/Terminal.h"
#include "text/CodePage.h"
#include "text/Text.h"

namespace vedozer::cli {
namespace {

int runSubmit(CliContext& context, const std::string& serverOption, const std::string& name) {
    if (text::trim(name).empty()) throw CliError("give the file name to submit; an empty name is not sent");
    Session& session = context.session();
    SubmitResult result = session.submit(text::utf8ToCp1252(name), serverOption);
    std::cout << shown(result.text) << "\n";
    if (!result.accepted) {
        std::cerr << "vedozer: error: the submission was not accepted by " << shownUtf8(session.definitionServer(serverOption))
                  << ": " << shown(result.error) << "\n";
        return kExitError;
    }
    return kExitOk;
}

struct SubmitArgs {
    std::string server;
    std::string name;
};

Registration reg(41, [](CLI::App& app, CliContext& context) {
    auto args = std::make_shared<SubmitArgs>();
    auto* submit = app.add_subcommand("submit", "Submit a file name to the definition service for research");
    submit->add_option("NAME", args->name, "File name (or path) to submit")->required();
    submit->add_option("--server", args->server, "Definition server (default as for update)");
    submit->callback([&context, args] { context.run([&] { return runSubmit(context, args->server, args->name); }); });
});

}  // namespace
}  // namespace vedozer::cli
