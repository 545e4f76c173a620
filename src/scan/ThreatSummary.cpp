#include "scan/ThreatSummary.h"

#include "text/Text.h"

namespace vedozer {
namespace {

DetectionKind kindOfIcon(int icon) {
    switch (icon) {
        case kIconCookie: return DetectionKind::Cookie;
        case kIconRegistry: return DetectionKind::RegistryKey;
        case kIconFolder: return DetectionKind::Folder;
        default: return DetectionKind::File;
    }
}

std::string nameOfRegistryRow(const RegistryWorkRow& row) {
    return text::trim(row.spywareName).empty() ? row.keyPath : row.spywareName;
}

std::optional<DetectionKind> kindFromName(std::string_view name) {
    for (DetectionKind k : {DetectionKind::Cookie, DetectionKind::Process, DetectionKind::RegistryValue,
                            DetectionKind::RegistryKey, DetectionKind::File, DetectionKind::Folder})
        if (name == detectionKindName(k)) return k;
    return std::nullopt;
}

// Tabs, line ends and backslashes inside a field are written "\t", "\r", "\n" and "\\".
std::string escape(std::string_view s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            default: out += c;
        }
    }
    return out;
}

std::string unescape(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        char c = s[++i];
        out += c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : c;
    }
    return out;
}

}  // namespace

std::string registryDetectionLocation(const RegistryWorkRow& row) {
    auto root = rootKeyFromHandleText(text::trim(row.mainKey));
    std::string location = std::string(root ? rootKeyName(*root) : row.mainKey.c_str()) + "\\" + row.keyPath;
    if (!row.valueName.empty()) location += " [" + row.valueName + "]";
    return location;
}

std::vector<ThreatSummary> summarizeThreats(const ScanResults& results) {
    std::vector<ThreatSummary> out;
    for (const ThreatRecord& row : results.removalList()) {
        ThreatSummary t{row.name, row.type, kindOfIcon(row.icon), row.location, {}};
        if (row.icon == kIconCookie) {
            for (const auto& c : results.cookieDetections())
                if (c.path == row.location) t.detections.push_back({DetectionKind::Cookie, c.path, {}});
        } else {
            for (const auto& f : results.fileDetections())
                if (text::iequals(f.spywareName, row.name))
                    t.detections.push_back({f.folder ? DetectionKind::Folder : DetectionKind::File, f.path, {}});
            for (const auto& r : results.registryDetections())
                if (text::iequals(nameOfRegistryRow(r), row.name))
                    t.detections.push_back({r.valueName.empty() ? DetectionKind::RegistryKey : DetectionKind::RegistryValue,
                                            registryDetectionLocation(r), {}});
        }
        if (t.detections.empty()) t.detections.push_back({t.kind, t.location, {}});
        // The kind of the trace the results list shows (a registry key, say, though files came first).
        t.kind = t.detections.front().kind;
        for (const auto& d : t.detections)
            if (text::iequals(d.location, t.location)) {
                t.kind = d.kind;
                break;
            }
        out.push_back(std::move(t));
    }
    for (const ProgramFound& p : results.programsFound()) {
        Outcome stopped = p.stopped ? Outcome::done() : Outcome::notDone("the program could not be stopped");
        out.push_back(ThreatSummary{p.fileName, "", DetectionKind::Process, p.fileName,
                                    {{DetectionKind::Process, p.fileName, stopped}}});
    }
    return out;
}

void applyRemovalOutcomes(std::vector<ThreatSummary>& threats, const std::vector<Detection>& items) {
    for (const Detection& item : items)
        for (auto& t : threats)
            for (auto& d : t.detections)
                if (d.kind == item.kind && d.location == item.location) d.outcome = item.outcome;
}

std::string formatFindings(const std::vector<ThreatSummary>& threats) {
    std::string out;
    for (const auto& t : threats) {
        out += std::string("T\t") + detectionKindName(t.kind) + "\t" + escape(t.name) + "\t" + escape(t.type) + "\t" +
               escape(t.location) + "\r\n";
        for (const auto& d : t.detections) out += std::string("D\t") + detectionKindName(d.kind) + "\t" + escape(d.location) + "\r\n";
    }
    return out;
}

std::vector<ThreatSummary> parseFindings(std::string_view text) {
    std::vector<ThreatSummary> out;
    for (const auto& line : text::split(text, "\r\n")) {
        auto f = text::split(line, "\t");
        auto kind = f.size() > 1 ? kindFromName(f[1]) : std::nullopt;
        if (!kind) continue;
        if (f[0] == "T" && f.size() == 5) {
            out.push_back(ThreatSummary{unescape(f[2]), unescape(f[3]), *kind, unescape(f[4]), {}});
        } else if (f[0] == "D" && f.size() == 3 && !out.empty()) {
            out.back().detections.push_back({*kind, unescape(f[2]), {}});
        }
    }
    return out;
}

}  // namespace vedozer
