#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace vedozer {
class Session;
struct ScanOutcome;
}

namespace vedozer::cli {

// The scan's result as JSON (text in UTF-8).
void writeScanJson(std::ostream& out, Session& session, const ScanOutcome& outcome,
                   const std::vector<std::string>& warnings);
// The scan's result for people.
void writeScanSummary(std::ostream& out, Session& session, const ScanOutcome& outcome);
// What a removal or an exclusion after the scan came to, for people.
void writeAfterScan(std::ostream& out, Session& session, const ScanOutcome& outcome);

}  // namespace vedozer::cli
