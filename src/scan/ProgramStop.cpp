#include "scan/ProgramStop.h"

#include <algorithm>
#include <optional>

#include "scan/ProcessList.h"
#include "text/Text.h"

namespace vedozer {
namespace {

constexpr int kStopTries = 11;

// "\??\C:\x" and "\\?\C:\x" name the same file as "C:\x".
std::string plainPath(const std::string& path) {
    if (text::istartsWith(path, "\\??\\") || text::istartsWith(path, "\\\\?\\")) return path.substr(4);
    return path;
}

}  // namespace

ProgramStopResult stopRunningProgram(Platform& platform, Host& host, const std::string& fileName,
                                     const std::string& fullPath) {
    Processes* processes = platform.processes;
    if (!processes) return ProgramStopResult::NotRunning;
    SystemInfo* systemInfo = platform.systemInfo;
    const std::string systemFolder = systemInfo ? systemInfo->systemFolder() : "";
    const std::string shortForm = shortProgramName(fileName);
    const std::string wanted = processMatchName(fileName);
    std::string wantedPath = plainPath(fullPath);
    if (!systemFolder.empty() && !wantedPath.empty()) wantedPath = NormalizeSystemPath(wantedPath, systemFolder);
    ProcessListing running = ListProcesses(*processes, "", true);
    std::optional<uint32_t> match;
    for (size_t i = 0; i < running.size() && !match; ++i) {
        std::string q = processMatchName(running.names[i]);
        if (q == wanted || q == shortForm) {
            // Where the file is known, a namesake elsewhere on the system is left alone.
            std::string image = plainPath(processes->mainModulePath(running.ids[i]));
            if (!systemFolder.empty()) image = NormalizeSystemPath(image, systemFolder);
            if (wantedPath.empty() || text::iequals(image, wantedPath)) match = running.ids[i];
        }
        if (!match) host.yield();
    }
    if (!match) return ProgramStopResult::NotRunning;
    for (int i = 0; i < kStopTries; ++i) {
        if (KillProcessById(*processes, systemInfo, *match, 0)) return ProgramStopResult::Stopped;
        if (platform.clock) platform.clock->sleepMillis(1);
        auto ids = processes->processIds();
        if (std::find(ids.begin(), ids.end(), *match) == ids.end()) return ProgramStopResult::Stopped;
    }
    return ProgramStopResult::Refused;
}

}  // namespace vedozer
