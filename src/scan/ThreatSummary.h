#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Outcome.h"
#include "scan/ScanResults.h"

namespace vedozer {

// One trace of a threat on the system, and what a removal made of it.
struct ThreatDetection {
    DetectionKind kind = DetectionKind::File;
    std::string location;            // path, registry key (value in brackets), cookie file, program
    std::optional<Outcome> outcome;  // set once a removal has handled it
    bool operator==(const ThreatDetection&) const = default;
};

// A threat as people think of it: a spyware name (a cookie file, a running program) with every
// trace the scan found of it.
struct ThreatSummary {
    std::string name;
    std::string type;                  // the definition's type text, "" when it has none
    DetectionKind kind = DetectionKind::File;  // of the trace at location
    std::string location;              // the trace the results list shows for it
    std::vector<ThreatDetection> detections;
    bool operator==(const ThreatSummary&) const = default;
};

// "HKEY_LOCAL_MACHINE\Software\X [value]": a registry work row as people read it.
std::string registryDetectionLocation(const RegistryWorkRow& row);

// The removal list, one entry per row in its order, each with the work-list rows under its name,
// followed by the running programs the memory stage met.
std::vector<ThreatSummary> summarizeThreats(const ScanResults& results);
// Puts the outcome of each removed item on the detection it belongs to (same kind and location).
void applyRemovalOutcomes(std::vector<ThreatSummary>& threats, const std::vector<Detection>& items);

// The findings of a scan kept in the data folder between runs (so a later command can refer to
// "item 3 of the last scan"). One record a line, fields separated by tabs, escaped as in the
// quarantine index:  T <kind> <name> <type> <location>  and  D <kind> <location>  for its traces.
inline constexpr const char* kLastScanFile = "LastScanFindings.txt";
std::string formatFindings(const std::vector<ThreatSummary>& threats);
std::vector<ThreatSummary> parseFindings(std::string_view text);

}  // namespace vedozer
