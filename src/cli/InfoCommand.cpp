// vedozer info: the status summary; vedozer --version.
#include <CLI/CLI.hpp>

#include <iostream>

#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CommandRegistry.h"
#include "cli/Json.h"
#include "cli/ScanOutput.h"
#include "cli/Terminal.h"
#include "BuildIdentity.h"
#include "removal/RemovalText.h"

namespace vedozer::cli {

int printVersion(CliContext& context) {
    Session& session = context.quietSession();
    StatusSummary s = session.statusSummary();
    std::cout << shown(session.identity().programName) << " " << VEDOZER_BUILD_VERSION << "\n"
              << "definitions: " << (s.definitionsMissing ? "not installed (vedozer init, or vedozer update)"
                                                          : shown(s.definitionDate) + " (" + s.definitionCount + ")")
              << "\n";
    return kExitOk;
}

namespace {

struct InfoOptions {
    bool json = false;
};

const char* choiceName(AnonymousDataChoice c) {
    switch (c) {
        case AnonymousDataChoice::NotAsked: return "not asked yet";
        case AnonymousDataChoice::On: return "on";
        case AnonymousDataChoice::Off: return "off";
    }
    return "";
}

// When anonymous data goes out, in words.
std::string anonymousDataWhen(AnonymousDataChoice c) {
    switch (c) {
        case AnonymousDataChoice::NotAsked:
            return "nothing is sent until you answer; the first removal asks on a terminal (without one, the answer "
                   "is no)";
        case AnonymousDataChoice::On:
            return "sent after each removal, when a program of the scanned system is running";
        case AnonymousDataChoice::Off: return "never sent";
    }
    return "";
}

void writeInfoJson(Session& session, const StatusSummary& s, CliContext& context) {
    const DefinitionSet& d = s.definitions;
    AnonymousDataChoice choice = session.anonymousDataChoice();
    JsonWriter json(std::cout);
    json.beginObject().utf8("schema", "vedozer.info/1");
    json.beginObject("program").text("name", session.identity().programName).utf8("version", VEDOZER_BUILD_VERSION).endObject();
    writeDefinitionsJson(json, session);
    json.beginObject("definitionCounts")
        .number("cookies", d.cookieCount)
        .number("executables", d.executableCount)
        .number("registry", d.registryCount)
        .number("filesAndFolders", d.fileCount)
        .endObject();
    json.number("removedTotal", leadingNumber(s.removedTotal))
        .optionalUtf8("lastScan", isoFromGeneralDate(s.lastScan))
        .optionalUtf8("lastCompleteScan", isoFromGeneralDate(s.lastCompleteScan))
        .text("dataFolder", session.dataFolder());
    json.beginObject("anonymousData")
        .utf8("choice", choiceName(choice))
        .utf8("sent", anonymousDataWhen(choice))
        .text("address", session.anonymousDataAddress())
        .beginArray("wouldSendNow");
    for (const auto& n : session.anonymousDataPreview()) json.text("", n);
    json.endArray().endObject();
    if (context.hasTarget()) writeTargetJson(json, session);
    else json.null("target");
    json.endObject();
}

int runInfo(CliContext& context, const InfoOptions& options) {
    if (options.json) {
        context.jsonOnStdout = true;
        context.commandName = "info";
    }
    Session& session = context.session();
    StatusSummary s = session.statusSummary();
    if (options.json) {
        writeInfoJson(session, s, context);
        return kExitOk;
    }
    const DefinitionSet& d = s.definitions;
    AnonymousDataChoice choice = session.anonymousDataChoice();
    std::cout << shown(session.identity().programName) << " " << VEDOZER_BUILD_VERSION << "\n"
              << "Definitions:          " << s.definitionCount << " (cookies " << d.cookieCount << ", executables "
              << d.executableCount << ", registry " << d.registryCount << ", files and folders " << d.fileCount
              << ")\n"
              << "Definitions date:     " << shown(s.definitionDate) << "\n"
              << "Items removed:        " << shown(s.removedTotal) << "\n"
              << "Last scan:            " << shown(s.lastScan) << "\n"
              << "Last complete scan:   " << shown(s.lastCompleteScan) << "\n"
              << "Data folder:          " << shown(session.dataFolder()) << "\n";
    if (context.hasTarget()) std::cout << "Target:               " << shown(session.targetIdentity().describe()) << "\n";
    std::cout << "Anonymous data:       " << choiceName(choice) << " - " << anonymousDataWhen(choice) << "\n";
    if (choice != AnonymousDataChoice::Off) {
        auto names = session.anonymousDataPreview();
        std::string list;
        for (const auto& n : names) list += (list.empty() ? "" : ", ") + shown(n);
        std::cout << "  what:               the file names of programs running from the scanned system (never the "
                     "host's own programs); now: "
                  << (names.empty() ? "none, so nothing would be sent" : list) << "\n"
                  << "  to:                 " << shown(session.anonymousDataAddress()) << "\n"
                  << "  change with:        vedozer settings set send-anonymous-data on|off\n";
    }
    return kExitOk;
}

Registration reg(10, [](CLI::App& app, CliContext& context) {
    auto options = std::make_shared<InfoOptions>();
    auto* cmd = app.add_subcommand("info", "Show the status: definitions and their date, removed total, last scans, "
                                           "what anonymous data is sent and when");
    cmd->add_flag("--json", options->json, "Machine-readable output (schema vedozer.info/1, see docs/json.md)");
    cmd->callback([&context, options] { context.run([&] { return runInfo(context, *options); }); });
});

}  // namespace
}  // namespace vedozer::cli
