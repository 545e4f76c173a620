#include "cli/ScanOutput.h"

#include "app/Session.h"
#include "cli/Json.h"
#include "removal/Removal.h"
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

}  // namespace

void writeScanJson(std::ostream& out, Session& session, const ScanRunState& state, const Removal* removal,
                   const std::vector<std::string>& warnings) {
    const ScanResults& r = session.results();
    const ScanCounters& c = session.counters();
    out << "{\"scanStarted\":" << jsonString(state.scanStarted) << ",\"scanFinished\":" << jsonString(state.scanFinished)
        << ",\"cancelled\":" << (state.cancelled ? "true" : "false")
        << ",\"definitionsMissing\":" << (state.definitionsMissing ? "true" : "false")
        << ",\"reportWritten\":" << (state.reportWritten ? "true" : "false") << ",\"stages\":";
    array(out, state.stages, [&](const std::string& s) { out << jsonString(s); });
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
    out << ",\"lvwFilesToBeDeleted\":";
    array(out, r.lvwFilesToBeDeleted(), [&](const FileWorkRow& f) {
        out << "{\"path\":" << jsonString(f.path) << ",\"spywareName\":" << jsonString(f.spywareName) << "}";
    });
    out << ",\"lvwRegistryToBeDeleted\":";
    array(out, r.lvwRegistryToBeDeleted(), [&](const RegistryWorkRow& g) {
        auto root = rootKeyFromHandleText(g.mainKey);
        out << "{\"mainKey\":" << jsonString(g.mainKey) << ",\"root\":" << jsonString(root ? rootKeyName(*root) : "")
            << ",\"keyPath\":" << jsonString(g.keyPath) << ",\"valueName\":" << jsonString(g.valueName)
            << ",\"spywareName\":" << jsonString(g.spywareName) << "}";
    });
    out << ",\"lvwCookiesToDelete\":";
    array(out, r.lvwCookiesToDelete(), [&](const CookieWorkRow& k) { out << "{\"path\":" << jsonString(k.path) << "}"; });
    out << ",\"warnings\":";
    array(out, warnings, [&](const std::string& s) { out << jsonString(s); });
    out << ",\"skipped\":";
    array(out, r.skippedNotes(), [&](const std::string& s) { out << jsonString(s); });
    if (removal) {
        out << ",\"removal\":{\"survivors\":";
        array(out, removal->lstProblem(), [&](const std::string& s) { out << jsonString(s); });
        out << ",\"notes\":";
        array(out, removal->notes(), [&](const std::string& s) { out << jsonString(s); });
        out << ",\"removedTotal\":" << jsonString(session.settings().get("Settings", "lblDefRemoved", "0")) << "}";
    }
    out << "}\n";
}

void writeScanSummary(std::ostream& out, Session& session, const ScanRunState& state) {
    auto u = [](const std::string& s) { return text::cp1252ToUtf8(s); };
    const ScanResults& r = session.results();
    const ScanCounters& c = session.counters();
    out << (state.cancelled ? "Scan cancelled" : "Scan complete") << " (" << u(state.scanStarted) << " - "
        << u(state.scanFinished) << ")\n"
        << "  cookies and processes inspected: " << c.cookiesAndProcessesInspected << "\n"
        << "  registry entries inspected:      " << c.registryInspected << "\n"
        << "  files and folders inspected:     " << c.filesAndFoldersInspected << "\n"
        << "  spyware/adware found:            " << c.softwareFound << " (" << r.traces() << " traces)\n";
    if (!r.removalList().empty()) {
        out << "\n";
        size_t i = 1;
        for (const auto& t : r.removalList()) {
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
}

}  // namespace vedozer::cli
