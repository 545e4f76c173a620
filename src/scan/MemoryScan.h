#pragma once
#include <string>

#include "scan/ScanContext.h"

namespace vedozer {

inline constexpr const char* kOwnHelperProcess = "ProcessWarden.exe";

// Looks for running programs that ExeDefinition.dat names (NT family). During a scan a
// running threat is listed and stopped; outside a scan it goes to ctx.onShieldThreat.
void ScanRunningProcesses(ScanContext& ctx);

// What happens to a running threat (see ScanRunningProcesses).
void ReportRunningThreat(ScanContext& ctx, const RunningThreat& threat);

// The memory stage: ScanRunningProcesses on the NT family, ctx.sweepMemory95 on the 9x
// family, nothing elsewhere.
void SweepMemory(ScanContext& ctx);

}  // namespace vedozer
