#include "cli/ScanOutput.h"

#include "app/Session.h"
#include "cli/Json.h"
#include "text/CodePage.h"

namespace vedozer::cli {
namespace {

const char* iconKind(int icon) {
    switch (icon) {
        case kIconCookie: return "cookie";
        case kIconRegistry: return "registry";
        case kIconFile: return "file";
        case kIconFolder: return "folder";
        case kIconExcluded: return "excluded";
        default: return "none";
    }
}

template <typename T, typename F>
void array(std::ostream& out, const std::vector<T>& rows, F&& each) {
    out << "[";
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i) out << ",";
        each(rows[i]);
    }
    out << "]";
}

const char* outcomeName(const Outcome& o) {
    switch (o.status) {
        case OutcomeStatus::Done: return "removed";
        case OutcomeStatus::NotDone: return "not removed";
        case OutcomeStatus::Skipped: return "skipped";
    }
    return "";
}

}  // namespace

void writeScanJson(std::ostream& out, Session& session, const ScanOutcome& outcome,
                   const std::vector<std::string>& warnings) {
    const ScanRunState& state = outcome.run;
    const ScanResults& r = session.results();
    const ScanCounters& c = session.counters();
    out << "{\"scanStarted\":" << jsonString(state.scanStarted) << ",\"scanFinished\":" << jsonString(state.scanFinished)
        << ",\"cancelled\":" << (state.cancelled ? "true" : "false")
        << ",\"definitionsMissing\":" << (state.definitionsMissing ? "true" : "false")
        << ",\"reportWritten\":" << (state.reportWritten ? "true" : "false") << ",\"stages\":";
    array(out, state.stages, [&](ScanStage s) { out << "\"" << scanStageName(s) << "\""; });
    out << ",\"inspected\":{\"cookiesAndProcesses\":" << c.cookiesAndProcessesInspected
        << ",\"registry\":" << c.registryInspected << ",\"filesAndFolders\":" << c.filesAndFoldersInspected << "}"
        << ",\"softwareFound\":" << c.softwareFound << ",\"traces\":" << r.traces() << ",\"removalList\":";
    array(out, r.removalList(), [&](const ThreatRecord& t) {
        out << "{\"name\":" << jsonString(t.name) << ",\"location\":" << jsonString(t.location)
            << ",\"type\":" << jsonString(t.type) << ",\"icon\":" << t.icon << ",\"kind\":\"" << iconKind(t.icon)
            << "\",\"checked\":" << (t.checked ? "true" : "false") << "}";
    });
    out << ",\"foundList\":";
    array(out, r.foundList(), [&](const FoundRow& f) {
        out << "{\"text\":" << jsonString(f.text) << ",\"icon\":" << f.icon << "}";
    });
    out << ",\"work\":{\"files\":";
    array(out, r.fileDetections(), [&](const FileWorkRow& f) {
        out << "{\"path\":" << jsonString(f.path) << ",\"spywareName\":" << jsonString(f.spywareName) << "}";
    });
    out << ",\"registry\":";
    array(out, r.registryDetections(), [&](const RegistryWorkRow& g) {
        auto root = rootKeyFromHandleText(g.mainKey);
        out << "{\"mainKey\":" << jsonString(g.mainKey) << ",\"root\":" << jsonString(root ? rootKeyName(*root) : "")
            << ",\"keyPath\":" << jsonString(g.keyPath) << ",\"valueName\":" << jsonString(g.valueName)
            << ",\"spywareName\":" << jsonString(g.spywareName) << "}";
    });
    out << ",\"cookies\":";
    array(out, r.cookieDetections(), [&](const CookieWorkRow& k) { out << "{\"path\":" << jsonString(k.path) << "}"; });
    out << "},\"warnings\":";
    std::vector<std::string> allWarnings = warnings;
    for (const auto& u : r.uncheckedLocations()) allWarnings.push_back(u);
    array(out, allWarnings, [&](const std::string& s) { out << jsonString(s); });
    out << ",\"skipped\":";
    array(out, r.skippedNotes(), [&](const std::string& s) { out << jsonString(s); });
    if (outcome.removal) {
        const RemovalResult& removal = *outcome.removal;
        out << ",\"removal\":{\"ran\":" << (removal.ran() ? "true" : "false") << ",\"outcomes\":";
        array(out, removal.items, [&](const Detection& d) {
            out << "{\"kind\":" << jsonString(detectionKindName(d.kind)) << ",\"spywareName\":"
                << jsonString(d.spywareName) << ",\"location\":" << jsonString(d.location)
                << ",\"outcome\":" << jsonString(outcomeName(d.outcome)) << ",\"reason\":" << jsonString(d.outcome.reason)
                << "}";
        });
        out << ",\"survivors\":";
        array(out, session.undeletable(), [&](const std::string& s) { out << jsonString(s); });
        out << ",\"notes\":";
        array(out, removal.notes, [&](const std::string& s) { out << jsonString(s); });
        out << ",\"removedTotal\":" << jsonString(session.statusSummary().removedTotal) << "}";
    }
    if (outcome.exclusion) {
        out << ",\"exclusion\":{\"entries\":";
        array(out, outcome.exclusion->entries, [&](const ItemOutcome& e) {
            out << "{\"entry\":" << jsonString(e.item) << ",\"written\":" << (e.outcome.isDone() ? "true" : "false")
                << ",\"reason\":" << jsonString(e.outcome.reason) << "}";
        });
        out << "}";
    }
    out << "}\n";
}

void writeScanSummary(std::ostream& out, Session& session, const ScanOutcome& outcome) {
    const ScanRunState& state = outcome.run;
    auto u = [](const std::string& s) { return text::cp1252ToUtf8(s); };
    const ScanResults& r = session.results();
    const ScanCounters& c = session.counters();
    out << (state.cancelled ? "Scan cancelled" : "Scan complete") << " (" << u(state.scanStarted) << " - "
        << u(state.scanFinished) << ")\n"
        << "  cookies and processes inspected: " << c.cookiesAndProcessesInspected << "\n"
        << "  registry entries inspected:      " << c.registryInspected << "\n"
        << "  files and folders inspected:     " << c.filesAndFoldersInspected << "\n"
        << "  spyware/adware found:            " << c.softwareFound << " (" << r.traces() << " traces)\n";
    if (!outcome.found.empty()) {
        out << "\n";
        size_t i = 1;
        for (const auto& t : outcome.found) {
            out << "  " << i++ << ". [" << iconKind(t.icon) << "] " << u(t.name);
            if (!t.type.empty()) out << " (" << u(t.type) << ")";
            out << "\n       " << u(t.location) << "\n";
        }
    }
    size_t excluded = 0;
    for (const auto& f : r.foundList()) excluded += f.icon == kIconExcluded;
    if (excluded) out << "  " << excluded << " detection(s) held back by the exclusion list\n";
    if (r.skippedCount()) {
        out << "  " << r.skippedCount() << " definition line(s) or item(s) skipped:\n";
        size_t shown = 0;
        for (const auto& s : r.skippedNotes()) {
            if (shown++ == 10) {
                out << "    ...\n";
                break;
            }
            out << "    " << u(s) << "\n";
        }
    }
    for (const auto& location : r.uncheckedLocations()) out << "  not checked: " << u(location) << "\n";
}

void writeAfterScan(std::ostream& out, Session& session, const ScanOutcome& outcome) {
    auto u = [](const std::string& s) { return text::cp1252ToUtf8(s); };
    if (outcome.removal) {
        const RemovalResult& removal = *outcome.removal;
        if (!removal.ran()) {
            out << "Nothing removed.\n";
        } else {
            size_t failed = removal.notRemoved();
            out << "Removed " << removal.items.size() - failed << " of " << removal.items.size()
                << " item(s); backups are in " << u(session.quarantineFolderPath()) << "\n";
            for (const auto& n : removal.notes) out << "  note: " << u(n) << "\n";
            if (failed) {
                out << "Could not be removed (still listed):\n";
                for (const auto& d : removal.items)
                    if (d.outcome.failed()) out << "  " << u(d.location) << ": " << u(d.outcome.reason) << "\n";
            }
        }
    }
    if (outcome.exclusion) {
        const ExclusionResult& exclusion = *outcome.exclusion;
        if (exclusion.status != ExclusionResult::Status::Ran) {
            out << "Nothing excluded.\n";
        } else if (!exclusion.failed()) {
            out << "Excluded; these items will not be reported again.\n";
        }
    }
}

}  // namespace vedozer::cli
