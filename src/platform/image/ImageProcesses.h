#pragma once
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/Processes.h"

namespace vedozer {

// Running processes of the machine, read from /proc. A process whose executable lies
// under one of the image's drive roots is shown with its Windows path ("C:\Program
// Files\x.exe"), so the definitions can name it; every other process keeps its host path,
// which no definition can match. Only processes started from inside the image can be ended.
class ImageProcesses : public Processes {
public:
    // Drive letter -> host folder holding that drive's root.
    explicit ImageProcesses(const std::map<char, std::string>& driveRoots);

    std::vector<uint32_t> processIds() override;
    std::vector<std::string> modulePaths(uint32_t pid) override;
    std::string mainModulePath(uint32_t pid) override;
    std::string mainModuleBaseName(uint32_t pid) override;
    std::vector<ProcessEntry> snapshot() override;
    // Asks the process to end (SIGTERM), then forces it (SIGKILL) when it is still there
    // after the wait. True only when the process is gone. The exit code cannot be chosen.
    bool terminate(uint32_t pid, uint32_t exitCode) override;
    bool enableDebugPrivilege() override { return true; }

    // The Windows form of a host path under a drive root; the host path otherwise.
    std::string windowsPath(const std::string& hostPath) const;
    bool insideImage(const std::string& hostPath) const;
    // How long terminate waits after each signal.
    void setTerminateWaitMillis(int ms) { m_waitMillis = ms; }

private:
    struct Root {
        char letter;
        std::filesystem::path path;
    };
    const Root* rootOf(const std::filesystem::path& hostPath, std::filesystem::path& relative) const;
    std::string hostExecutable(uint32_t pid) const;
    bool waitUntilGone(uint32_t pid) const;

    std::vector<Root> m_roots;  // longest first, so nested drive folders resolve to the inner drive
    int m_waitMillis = 2000;
};

}  // namespace vedozer
