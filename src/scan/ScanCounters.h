#pragma once
#include <cstdint>

namespace vedozer {

// Counters of one scan, all zero at its start.
struct ScanCounters {
    int32_t cookiesAndProcessesInspected = 0;
    int32_t registryInspected = 0;
    int32_t filesAndFoldersInspected = 0;
    int32_t softwareFound = 0;  // spyware names listed
    int32_t refreshCalls = 0;   // progress calls since the scan page was last painted

    void reset() { *this = ScanCounters{}; }
    bool operator==(const ScanCounters&) const = default;
};

}  // namespace vedozer
