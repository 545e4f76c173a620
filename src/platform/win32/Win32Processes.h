#pragma once
#include "platform/Processes.h"

namespace vedozer {

// Running processes through PSAPI and tool-help snapshots.
class Win32Processes : public Processes {
public:
    std::vector<uint32_t> processIds() override;
    std::vector<std::string> modulePaths(uint32_t pid) override;
    std::string mainModulePath(uint32_t pid) override;
    std::string mainModuleBaseName(uint32_t pid) override;
    std::vector<ProcessEntry> snapshot() override;
    bool terminate(uint32_t pid, uint32_t exitCode) override;
    bool enableDebugPrivilege() override;
};

}  // namespace vedozer
