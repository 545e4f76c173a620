#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace vedozer {
class Session;
struct ScanOutcome;
struct ThreatSummary;
struct ThreatDetection;
struct TargetIdentity;
}

namespace vedozer::cli {

class JsonWriter;

// The scan's result as JSON v1 (schema vedozer.scan/1, docs/json.md).
void writeScanJson(std::ostream& out, Session& session, const ScanOutcome& outcome,
                   const std::vector<std::string>& warnings);
// Parts shared with the other documents: "definitions" and "target".
void writeDefinitionsJson(JsonWriter& json, Session& session);
void writeTargetJson(JsonWriter& json, Session& session);
void writeTargetJsonFor(JsonWriter& json, const TargetIdentity& target, const char* key = "target");

// One line per trace: "LOCATION: NAME (TYPE) FOUND" (after a removal REMOVED, NOT REMOVED ...).
std::string hitLine(const ThreatSummary& threat, const ThreatDetection& detection);
// The hits, then (unless brief) the summary block: target, definitions, what was inspected,
// the numbered threats.
void writeScanText(std::ostream& out, Session& session, const ScanOutcome& outcome, bool brief);
// What a removal or an exclusion after the scan came to, for people.
void writeAfterScan(std::ostream& out, Session& session, const ScanOutcome& outcome);

}  // namespace vedozer::cli
