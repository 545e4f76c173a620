#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace vedozer {
class Session;
struct ScanRunState;
class Removal;
}

namespace vedozer::cli {

// The scan's result as JSON (text in UTF-8).
void writeScanJson(std::ostream& out, Session& session, const ScanRunState& state, const Removal* removal,
                   const std::vector<std::string>& warnings);
// The scan's result for people.
void writeScanSummary(std::ostream& out, Session& session, const ScanRunState& state);

}  // namespace vedozer::cli
