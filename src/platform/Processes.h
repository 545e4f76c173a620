#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vedozer {

struct ProcessEntry {
    uint32_t pid = 0;
    std::string exeFile;  // as a tool-help snapshot gives it
    // A program of the machine the scanner runs on, not of the Windows system it examines (an
    // offline image's backend sees the host's processes too). Never described as the system's.
    bool outsideSystem = false;
};

class Processes {
public:
    virtual ~Processes() = default;
    virtual std::vector<uint32_t> processIds() = 0;
    // Module paths of a process, main module first; empty when it cannot be opened.
    virtual std::vector<std::string> modulePaths(uint32_t pid) = 0;
    virtual std::string mainModulePath(uint32_t pid) = 0;
    virtual std::string mainModuleBaseName(uint32_t pid) = 0;
    virtual std::vector<ProcessEntry> snapshot() = 0;
    virtual bool terminate(uint32_t pid, uint32_t exitCode) = 0;
    virtual bool enableDebugPrivilege() = 0;
};

}  // namespace vedozer
