// vedozer quarantine list|restore|restore-point|open
#include <CLI/CLI.hpp>

#include <iostream>

#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CliHost.h"
#include "cli/CommandRegistry.h"
#include "cli/Json.h"
#include "cli/ScanOutput.h"
#include "cli/Terminal.h"
#include "i18n/Captions.h"

namespace vedozer::cli {
namespace {

const char* stateOf(const QuarantineEntry& e) {
    return e.withdrawn ? "not removed" : e.restored ? "restored" : "quarantined";
}

void writeListJson(Session& session, const std::vector<QuarantineEntry>& entries, CliContext& context) {
    const TargetIdentity current = session.removal().quarantine().target();
    JsonWriter json(std::cout);
    json.beginObject().utf8("schema", "vedozer.quarantine/1").text("folder", session.quarantineFolderPath());
    if (context.hasTarget()) writeTargetJsonFor(json, current);
    else json.null("target");
    json.beginArray("items");
    for (const auto& e : entries) {
        json.beginObject()
            .number("id", static_cast<int64_t>(e.id))
            .utf8("kind", quarantineKindName(e.kind))
            .optionalUtf8("time", isoFromGeneralDate(e.time))
            .utf8("state", stateOf(e))
            .optionalUtf8("restoredTime", e.restored ? isoFromGeneralDate(e.restoredTime) : std::nullopt)
            .text("location", e.location);
        if (e.kind == QuarantineKind::RegistryValue) json.text("valueName", e.valueName);
        else json.null("valueName");
        json.text("spywareName", e.spywareName).text("storedName", e.storedName);
        if (e.target.empty()) json.null("from");
        else writeTargetJsonFor(json, e.target, "from");
        json.boolean("fromThisTarget", !fromOtherSystem(e, current)).endObject();
    }
    json.endArray().beginArray("restorePoints");
    if (session.restorePointsKeptHere()) {
        for (const auto& p : session.restorePoints()) {
            json.beginObject()
                .utf8("name", p.name)
                .text("description", p.description)
                .optionalUtf8("began", isoFromGeneralDate(p.began))
                .optionalUtf8("ended", isoFromGeneralDate(p.ended))
                .beginArray("hives");
            for (const auto& d : p.details) json.text("", d);
            json.endArray().endObject();
        }
    }
    json.endArray().endObject();
}

int runList(CliContext& context, bool asJson) {
    if (asJson) {
        context.jsonOnStdout = true;
        context.commandName = "quarantine list";
    }
    Session& session = context.session();
    auto entries = session.quarantineItems();
    if (asJson) {
        writeListJson(session, entries, context);
        return kExitOk;
    }
    const TargetIdentity current = session.removal().quarantine().target();
    std::cout << "Quarantine: " << shown(session.quarantineFolderPath()) << "\n";
    if (context.hasTarget()) std::cout << "This target: " << shown(current.describe()) << "\n";
    if (entries.empty()) std::cout << "  (no quarantined items)\n";
    // Items grouped under the system they came from, as they were removed.
    std::string lastFrom = "\x01";
    auto lines = describeQuarantine(entries);
    for (size_t i = 0; i < entries.size(); ++i) {
        std::string from = entries[i].target.describe();
        if (from != lastFrom) {
            bool other = fromOtherSystem(entries[i], current);
            std::cout << "From " << shown(from) << (other ? "  [another system: restore it there, or use --force]" : "")
                      << ":\n";
            lastFrom = from;
        }
        std::cout << "  " << shown(lines[i]) << "\n";
    }
    if (!session.restorePointsKeptHere()) return kExitOk;  // the system's own tool lists them
    auto points = session.restorePoints();
    std::cout << "Restore points (hive copies made before a removal changed them; put back with vedozer quarantine "
                 "restore NAME):\n";
    if (points.empty()) std::cout << "  (none)\n";
    for (const auto& p : points) {
        std::cout << "  " << shown(p.name) << "  " << shown(p.began) << " - " << (p.ended.empty() ? "(not closed)" : shown(p.ended))
                  << "  " << shown(p.description) << "\n";
        for (const auto& d : p.details) std::cout << "      " << shown(d) << "\n";
    }
    return kExitOk;
}

int runRestorePoint(CliContext& context, const std::string& name) {
    if (!context.hasTarget()) throw CliError("give the Windows installation to restore into with --target DIR");
    Session& session = context.session(/*takeInstanceLock=*/true);
    if (session.restorePointsKeptHere()) {
        std::string described;
        for (const auto& p : session.restorePoints())
            if (p.name == name) described = p.description + ", " + p.began;
        if (described.empty()) throw CliError("there is no restore point " + shownUtf8(name) + " (see vedozer quarantine list)");
        // The desktop's question, and what a person at a terminal also needs to know.
        const Languages& l = session.languages();
        std::string text = captionText(l, CaptionId::ConfirmRestorePoint) + "\r\n\r\n" + name + " (" + described +
                           ")\r\n\r\nThe hive files as they are now are first kept in a new restore point, so this "
                           "can be undone.";
        if (context.host().ask(l.questionWithText(QuestionKind::ConfirmRestorePoint, text, Buttons::YesNo,
                                                  QuestionIcon::Question)) != Answer::Yes) {
            std::cout << shownUtf8(name) << ": nothing was restored\n";
            return kExitFound;
        }
    }
    Outcome outcome = session.restoreRestorePoint(name);
    if (outcome.failed()) throw CliError(shown(outcome.reason));
    std::cout << shownUtf8(name) << ": the registry hive files are back as they were before that removal\n";
    const std::string& aside = session.restorePointKeptAside();
    if (!aside.empty())
        std::cout << "The hives as they were just now are kept in " << shown(aside) << " (vedozer quarantine restore "
                  << shown(aside) << " undoes this)\n";
    return kExitOk;
}

int runRestore(CliContext& context, const std::vector<std::string>& ids, bool all, bool force) {
    if (!context.hasTarget()) throw CliError("give the Windows installation to restore into with --target DIR");
    if (ids.size() == 1 && ids[0].rfind("RestorePoint-", 0) == 0) return runRestorePoint(context, ids[0]);
    if (all == !ids.empty()) throw CliError("give the IDs to restore (or a RestorePoint-... name), or --all");
    std::vector<uint64_t> numbers;
    for (const auto& id : ids) {
        bool digits = !id.empty() && id.size() < 20 && id.find_first_not_of("0123456789") == std::string::npos;
        if (!digits) throw CliError("\"" + shownUtf8(id) + "\" is not a quarantine ID (see `vedozer quarantine list`)");
        numbers.push_back(std::stoull(id));
    }
    Session& session = context.session(/*takeInstanceLock=*/true);
    auto results = all ? session.restoreAllQuarantined(force) : session.restoreQuarantined(numbers, force);
    bool failed = false;
    size_t elsewhere = 0;
    using Status = QuarantineRestoreResult::Status;
    for (const auto& r : results) {
        // --all leaves the items of other systems where they are; asked for by ID, that is a refusal.
        if (all && r.status == Status::OtherSystem) {
            ++elsewhere;
            continue;
        }
        std::ostream& out = r.status == Status::Restored ? std::cout : std::cerr;
        out << r.id << ": " << shown(r.message) << "\n";
        failed = failed || r.status != Status::Restored;
    }
    if (elsewhere) std::cout << elsewhere << " item(s) of another system left in the quarantine\n";
    if (results.size() == elsewhere) std::cout << "nothing to restore\n";
    return failed ? kExitError : kExitOk;
}

int runOpen(CliContext& context, bool exclusions) {
    Session& session = context.session();
    Outcome outcome = exclusions ? session.openExclusionList() : session.openQuarantineFolder();
    if (outcome.failed()) throw CliError(shown(outcome.reason));
    return kExitOk;  // nothing to open (no exclusion list yet) was said; it is no error
}

Registration reg(70, [](CLI::App& app, CliContext& context) {
    auto* q = app.add_subcommand("quarantine", "Quarantined items and restore points");
    q->require_subcommand(1);
    auto listJson = std::make_shared<bool>(false);
    auto* list = q->add_subcommand("list", "List quarantined items (with the system each came from) and restore points");
    list->add_flag("--json", *listJson, "Machine-readable output (schema vedozer.quarantine/1, see docs/json.md)");
    list->callback([&context, listJson] { context.run([&] { return runList(context, *listJson); }); });
    auto ids = std::make_shared<std::vector<std::string>>();
    auto all = std::make_shared<bool>(false);
    auto force = std::make_shared<bool>(false);
    auto* restore = q->add_subcommand("restore", "Put quarantined items back where they were, or the registry back "
                                                 "as a restore point saved it (asks first; --yes agrees)");
    restore->add_option("ID", *ids, "Quarantine IDs, or one RestorePoint-... name");
    restore->add_flag("--all", *all, "Everything of this system not restored yet, newest first");
    restore->add_flag("--force", *force,
                      "Replace what exists there now, and restore items that came from another system");
    auto yes = std::make_shared<bool>(false);
    restore->add_flag("--yes,-y", *yes, "Agree to the question before a restore point is put back");
    restore->callback([&context, ids, all, force, yes] {
        context.host().assumeYes = *yes;
        context.run([&] { return runRestore(context, *ids, *all, *force); });
    });
    auto point = std::make_shared<std::string>();
    auto* restorePoint = q->add_subcommand("restore-point", "The same as restore RestorePoint-...");
    restorePoint->add_option("NAME", *point, "Restore point (see `vedozer quarantine list`)")->required();
    restorePoint->add_flag("--yes,-y", *yes, "Agree to the question first");
    restorePoint->callback([&context, point, yes] {
        context.host().assumeYes = *yes;
        context.run([&] { return runRestorePoint(context, *point); });
    });
    auto* open = q->add_subcommand("open", "Open the quarantine folder (or --exclusions: the exclusion list)");
    auto exclusions = std::make_shared<bool>(false);
    open->add_flag("--exclusions", *exclusions);
    open->callback([&context, exclusions] { context.run([&] { return runOpen(context, *exclusions); }); });
});

}  // namespace
}  // namespace vedozer::cli
