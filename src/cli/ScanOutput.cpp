#include "cli/ScanOutput.h"

#include "app/Session.h"
#include "cli/Json.h"
#include "cli/Terminal.h"
#include "text/Text.h"
#include "update/ServerDate.h"
#include "BuildIdentity.h"

namespace vedozer::cli {
namespace {

const char* outcomeWord(const Outcome& o) {
    switch (o.status) {
        case OutcomeStatus::Done: return "removed";
        case OutcomeStatus::NotDone: return "not removed";
        case OutcomeStatus::Skipped: return "skipped";
    }
    return "";
}

// The threat's type, or what kind of trace it is when the definition gave none.
std::string typeOf(const ThreatSummary& t, const ThreatDetection& d) {
    return t.type.empty() ? detectionKindName(d.kind) : t.type;
}

size_t excludedCount(const ScanResults& r) {
    size_t n = 0;
    for (const auto& f : r.foundList()) n += f.icon == kIconExcluded;
    return n;
}

size_t traceCount(const std::vector<ThreatSummary>& threats) {
    size_t n = 0;
    for (const auto& t : threats) n += t.detections.size();
    return n;
}

std::string plural(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

void writeDefinitionsJson(JsonWriter& json, Session& session) {
    StatusSummary s = session.statusSummary();
    std::string text = s.definitionsMissing ? "" : s.definitionDate.substr(0, s.definitionDate.rfind(" PST"));
    std::optional<std::string> iso;
    // The server's dates are Pacific Standard Time, as the program has always shown them.
    if (auto d = ParseGeneralDate(text)) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d-08:00", d->year, d->month, d->day, d->hour,
                      d->minute, d->second);
        iso = buf;
    }
    json.beginObject("definitions")
        .boolean("installed", !s.definitionsMissing)
        .optionalUtf8("date", iso)
        .text("dateText", s.definitionsMissing ? "" : s.definitionDate)
        .number("count", s.definitions.total)
        .endObject();
}

void writeTargetJson(JsonWriter& json, Session& session) { writeTargetJsonFor(json, session.targetIdentity()); }

void writeTargetJsonFor(JsonWriter& json, const TargetIdentity& t, const char* key) {
    json.beginObject(key).beginArray("drives");
    for (const auto& d : text::split(t.drives, " ")) {
        if (d.empty()) continue;
        size_t eq = d.find('=');
        json.beginObject()
            .utf8("letter", d.substr(0, 1))
            .text("path", eq == std::string::npos ? d : d.substr(eq + 1))
            .endObject();
    }
    json.endArray()
        .text("user", t.user)
        .text("softwareHive", t.softwareHive)
        .text("productName", t.productName)
        .text("installDate", t.installDate)
        .endObject();
}

void writeScanJson(std::ostream& out, Session& session, const ScanOutcome& outcome,
                   const std::vector<std::string>& warnings) {
    const ScanRunState& state = outcome.run;
    const ScanResults& r = session.results();
    const ScanCounters& c = session.counters();
    const ScanTally& tally = session.scanStatus().tally;
    JsonWriter json(out);
    json.beginObject().utf8("schema", "vedozer.scan/1");
    json.beginObject("program").text("name", session.identity().programName).utf8("version", VEDOZER_BUILD_VERSION).endObject();
    writeTargetJson(json, session);
    writeDefinitionsJson(json, session);
    json.beginObject("scan")
        .utf8("started", isoLocalTime(state.startedAt))
        .utf8("finished", isoLocalTime(state.finishedAt))
        .utf8("recordedAs", state.recordedAsComplete ? "complete" : "quick")
        .boolean("stopped", state.cancelled)
        .boolean("reportWritten", state.reportWritten)
        .beginArray("stages");
    for (ScanStage s : state.stages) json.utf8("", scanStageName(s));
    json.endArray().endObject();
    // The counters count definitions checked (and cookie files and programs looked at), not files read.
    json.beginObject("inspected")
        .optionalNumber("cookiesAndPrograms", tally.memorySelected ? std::optional<int64_t>(c.cookiesAndProcessesInspected) : std::nullopt)
        .optionalNumber("registryDefinitions", tally.registrySelected ? std::optional<int64_t>(c.registryInspected) : std::nullopt)
        .number("fileAndFolderDefinitions", c.filesAndFoldersInspected)
        .endObject();
    json.beginObject("found")
        .number("threats", static_cast<int64_t>(outcome.threats.size()))
        .number("traces", static_cast<int64_t>(traceCount(outcome.threats)))
        .number("excluded", static_cast<int64_t>(excludedCount(r)))
        .endObject();
    json.beginArray("threats");
    int64_t number = 0;
    for (const auto& t : outcome.threats) {
        json.beginObject()
            .number("number", ++number)
            .text("name", t.name)
            .text("type", t.type)
            .utf8("kind", detectionKindName(t.kind))
            .text("location", t.location)
            .beginArray("detections");
        for (const auto& d : t.detections) {
            json.beginObject().utf8("kind", detectionKindName(d.kind)).text("location", d.location);
            if (d.outcome) json.utf8("outcome", t.kind == DetectionKind::Process ? (d.outcome->isDone() ? "stopped" : "not stopped") : outcomeWord(*d.outcome)).text("reason", d.outcome->reason);
            else json.null("outcome").utf8("reason", "");
            json.endObject();
        }
        json.endArray().endObject();
    }
    json.endArray().beginArray("excluded");
    for (const auto& f : r.foundList())
        if (f.icon == kIconExcluded) json.text("", f.text.substr(f.text.find(": ") == std::string::npos ? 0 : f.text.find(": ") + 2));
    json.endArray().beginArray("notChecked");
    for (const auto& u : r.uncheckedLocations()) json.text("", u);
    json.endArray().beginArray("warnings");
    for (const auto& w : warnings) json.text("", w);
    for (const auto& u : r.uncheckedLocations()) json.text("", u + " could not be read: what lies under it was not checked");
    json.endArray().beginObject("skipped").number("count", static_cast<int64_t>(r.skippedCount())).beginArray("notes");
    for (const auto& s : r.skippedNotes()) json.text("", s);
    json.endArray().endObject();
    if (outcome.removal) {
        const RemovalResult& removal = *outcome.removal;
        size_t failed = removal.notRemoved();
        json.beginObject("removal")
            .boolean("ran", removal.ran())
            .number("removed", removal.ran() ? static_cast<int64_t>(removal.items.size() - failed) : 0)
            .number("notRemoved", static_cast<int64_t>(failed))
            .text("quarantine", session.quarantineFolderPath())
            .beginArray("notes");
        for (const auto& n : removal.notes) json.text("", n);
        json.endArray().endObject();
    }
    if (outcome.exclusion) {
        json.beginObject("exclusion").beginArray("entries");
        for (const auto& e : outcome.exclusion->entries)
            json.beginObject().text("entry", e.item).boolean("written", e.outcome.isDone()).text("reason", e.outcome.reason).endObject();
        json.endArray().endObject();
    }
    json.endObject();
}

std::string hitLine(const ThreatSummary& t, const ThreatDetection& d) {
    std::string verdict = "FOUND";
    if (d.outcome) {
        if (d.kind == DetectionKind::Process) verdict = d.outcome->isDone() ? "FOUND, STOPPED" : "FOUND, NOT STOPPED";
        else if (d.outcome->isDone()) verdict = "REMOVED";
        else if (d.outcome->failed()) verdict = "NOT REMOVED (" + shown(d.outcome->reason) + ")";
        else verdict = "SKIPPED (" + shown(d.outcome->reason) + ")";
    }
    return shown(d.location) + ": " + shown(t.name) + " (" + shown(typeOf(t, d)) + ") " + verdict;
}

void writeScanText(std::ostream& out, Session& session, const ScanOutcome& outcome, bool brief) {
    for (const auto& t : outcome.threats)
        for (const auto& d : t.detections) out << hitLine(t, d) << "\n";
    if (brief) return;
    const ScanRunState& state = outcome.run;
    const ScanResults& r = session.results();
    const ScanCounters& c = session.counters();
    const ScanTally& tally = session.scanStatus().tally;
    StatusSummary status = session.statusSummary();
    auto counter = [](bool selected, int32_t n) { return selected ? text::groupDigits(n) : std::string("not selected"); };
    out << "\n"
        << (state.cancelled ? "Scan stopped before it finished" : "Scan complete") << ": " << shown(state.scanStarted)
        << " - " << shown(state.scanFinished) << "\n"
        << "  target:       " << shown(session.targetIdentity().describe()) << "\n"
        << "  definitions:  " << status.definitionCount << ", dated " << shown(status.definitionDate) << "\n"
        << "  recorded as:  "
        << (state.recordedAsComplete ? "a complete scan (last scan and last complete scan)" : "a quick scan (last scan only)")
        << "\n"
        << "  inspected (definitions checked against the system, not files read):\n"
        << "    cookie files and running programs:  " << counter(tally.memorySelected, c.cookiesAndProcessesInspected) << "\n"
        << "    registry definitions:               " << counter(tally.registrySelected, c.registryInspected) << "\n"
        << "    file and folder definitions:        " << text::groupDigits(c.filesAndFoldersInspected) << "\n"
        << "  found:        " << plural(outcome.threats.size(), "threat", "threats") << " ("
        << plural(traceCount(outcome.threats), "trace", "traces") << ")";
    if (size_t excluded = excludedCount(r)) out << "; " << excluded << " held back by the exclusion list";
    out << "\n";
    size_t number = 0;
    for (const auto& t : outcome.threats)
        out << "    " << ++number << ". " << shown(t.name) << " (" << shown(t.type.empty() ? detectionKindName(t.kind) : t.type)
            << "), " << plural(t.detections.size(), "trace", "traces") << "\n";
    if (!outcome.threats.empty() && !outcome.removal && !outcome.exclusion)
        out << "  next:         vedozer scan --remove, or vedozer exclude NUMBER|LOCATION|NAME\n";
    if (r.skippedCount()) {
        out << "  " << r.skippedCount() << " definition line(s) or item(s) skipped:\n";
        size_t shownNotes = 0;
        for (const auto& s : r.skippedNotes()) {
            if (shownNotes++ == 10) {
                out << "    ...\n";
                break;
            }
            out << "    " << shown(s) << "\n";
        }
    }
    for (const auto& location : r.uncheckedLocations()) out << "  not checked:  " << shown(location) << "\n";
}

void writeAfterScan(std::ostream& out, Session& session, const ScanOutcome& outcome) {
    if (outcome.removal) {
        const RemovalResult& removal = *outcome.removal;
        if (!removal.ran()) {
            out << "Nothing removed.\n";
        } else {
            size_t failed = removal.notRemoved();
            out << "Removed " << removal.items.size() - failed << " of " << removal.items.size()
                << " item(s); backups are in " << shown(session.quarantineFolderPath()) << "\n";
            for (const auto& n : removal.notes) out << "  note: " << shown(n) << "\n";
            if (failed) {
                out << "Could not be removed (still listed):\n";
                for (const auto& d : removal.items)
                    if (d.outcome.failed()) out << "  " << shown(d.location) << ": " << shown(d.outcome.reason) << "\n";
            }
        }
    }
    if (outcome.exclusion) {
        const ExclusionResult& exclusion = *outcome.exclusion;
        if (exclusion.status != ExclusionResult::Status::Ran) {
            out << "Nothing excluded.\n";
        } else if (!exclusion.failed()) {
            out << "Excluded; these items will not be reported again:\n";
            for (const auto& e : exclusion.entries) out << "  added: " << shown(e.item) << "\n";
        }
    }
}

}  // namespace vedozer::cli
