#pragma once
#include <cstdint>

namespace vedozer {

// Counters of one scan, all zero at its start.
struct ScanCounters {
    int32_t cookiesAndProcessesInspected = 0;  // lblMemoryInspected
    int32_t registryInspected = 0;             // lblRegistryInspected
    int32_t filesAndFoldersInspected = 0;      // lblFilesFolderInspected
    int32_t softwareFound = 0;                 // lblSoftwareFound, lblRemovePicSoftwareFound
    int32_t refreshCalls = 0;                  // calls of ShowScanProgress since its last paint

    void reset() { *this = ScanCounters{}; }
    bool operator==(const ScanCounters&) const = default;
};

}  // namespace vedozer
