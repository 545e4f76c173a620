// vedozer submit NAME [--server URL]: submits a file name to the definition service for research.
#include <CLI/CLI.hpp>

#include <iostream>

#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CommandRegistry.h"
#include "text/CodePage.h"

namespace vedozer::cli {
namespace {

int runSubmit(CliContext& context, const std::string& serverOption, const std::string& name) {
    Session& session = context.session();
    SubmitResult result = session.submit(text::utf8ToCp1252(name), serverOption);
    std::cout << text::cp1252ToUtf8(result.text) << "\n";
    if (!result.accepted) {
        std::cerr << "vedozer: the submission did not reach " << session.definitionServer(serverOption) << ": "
                  << result.error << "\n";
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
