// vedozer defs: tools for definition authors (encode, decode) and checks of the installed set.
#include <CLI/CLI.hpp>

#include <iostream>
#include <iterator>

#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CommandRegistry.h"
#include "definitions/LineCodec.h"
#include "definitions/LineReader.h"

namespace vedozer::cli {
namespace {

// Lines of stdin split on CR LF or LF; each transformed and written with CR LF.
int transformStdin(std::string (*transform)(std::string_view), bool crlfOnly) {
    std::string input((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    size_t start = 0;
    while (start < input.size()) {
        size_t end = input.find(crlfOnly ? "\r\n" : "\n", start);
        size_t next = end == std::string::npos ? input.size() : end + (crlfOnly ? 2 : 1);
        std::string line = input.substr(start, (end == std::string::npos ? input.size() : end) - start);
        if (!crlfOnly && !line.empty() && line.back() == '\r') line.pop_back();
        std::cout << transform(line) << (crlfOnly ? "\n" : "\r\n");
        start = next;
    }
    return kExitOk;
}

int runCount(CliContext& context) {
    const DefinitionSet d = context.session().statusSummary().definitions;
    std::cout << "BlockedCookies.dat       " << d.cookieCount << "\n"
              << "ExeDefinition.dat        " << d.executableCount << "\n"
              << "RegistryDefinition.dat   " << d.registryCount << "\n"
              << "File+DirectoryDefinition " << d.fileCount << "\n"
              << "Total                    " << d.total << "\n";
    return kExitOk;
}

int runCheck(CliContext& context) {
    Session& session = context.session();
    auto missing = session.missingDefinitionFiles();
    for (const auto& m : missing) std::cerr << "missing: " << m << "\n";
    if (!missing.empty()) {
        std::cerr << "vedozer: the definition set is incomplete; a scan would discard it. Run `vedozer update` "
                     "or `vedozer init`.\n";
        return kExitError;
    }
    StatusSummary status = session.statusSummary();
    std::cout << "all five definition files present in " << session.dataFolder() << " (" << status.definitions.total
              << " definitions, dated " << status.definitionDate << ")\n";
    return kExitOk;
}

Registration reg(50, [](CLI::App& app, CliContext& context) {
    auto* defs = app.add_subcommand("defs", "Definition tools");
    defs->require_subcommand(1);
    defs->add_subcommand("encode", "Encode plain definition lines from stdin to stdout (CR LF)")
        ->callback([&context] { context.run([] { return transformStdin(EncodeDefinitionLine, false); }); });
    defs->add_subcommand("decode", "Decode stored definition lines (CR LF) from stdin to stdout")
        ->callback([&context] { context.run([] { return transformStdin(DecodeDefinitionLine, true); }); });
    defs->add_subcommand("count", "Count the installed definitions")
        ->callback([&context] { context.run([&] { return runCount(context); }); });
    defs->add_subcommand("check", "Check that the five definition files are present (changes nothing)")
        ->callback([&context] { context.run([&] { return runCheck(context); }); });
});

}  // namespace
}  // namespace vedozer::cli
