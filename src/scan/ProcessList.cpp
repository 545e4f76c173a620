#include "scan/ProcessList.h"

#include <algorithm>

#include "text/Text.h"

namespace vedozer {

std::string ProcessNameFromId(Processes& processes, uint32_t pid) {
    if (pid == 0) return "System Idle Process";
    if (pid == 2) return "System";
    if (processes.modulePaths(pid).empty()) return "";
    std::string name = processes.mainModuleBaseName(pid);
    return name.empty() ? "unknown" : name;
}

ProcessListing ListProcesses(Processes& processes, const std::string& filter, bool byIdentifier) {
    ProcessListing out;
    auto add = [&](std::string name, uint32_t pid) {
        if (name.empty()) return;
        if (!filter.empty() && name.find(filter) == std::string::npos) return;
        out.names.push_back(std::move(name));
        out.ids.push_back(pid);
    };
    if (byIdentifier) {
        for (uint32_t pid : processes.processIds()) add(ProcessNameFromId(processes, pid), pid);
    } else {
        for (const ProcessEntry& e : processes.snapshot()) add(e.exeFile.substr(0, e.exeFile.find('\0')), e.pid);
    }
    return out;
}

std::string shortProgramName(std::string_view fileName) {
    std::string t = text::ireplaceAll(fileName, ".exe", "");
    if (t.size() >= 7) t.resize(6);
    return text::toUpper(t) + "~1";
}

std::string processMatchName(std::string_view fileName) {
    if (fileName.size() >= 16) return text::toUpper(fileName.substr(0, 15));
    return text::toUpper(fileName.substr(0, fileName.find('.')));
}

std::string NormalizeSystemPath(const std::string& path, const std::string& systemFolder) {
    const std::string trimmed = text::trim(path);
    size_t at = text::toUpper(trimmed).rfind("SYSTEM32\\");
    if (at == std::string::npos) return path;
    return systemFolder + "\\" + trimmed.substr(at + 9);
}

bool KillProcessById(Processes& processes, SystemInfo* systemInfo, uint32_t pid, uint32_t exitCode) {
    bool nt = !systemInfo || systemInfo->version().family == PlatformFamily::WindowsNT;
    if (nt && !processes.enableDebugPrivilege()) return false;
    return processes.terminate(pid, exitCode);
}

namespace {

bool stillRunning(Processes& processes, uint32_t pid) {
    auto ids = processes.processIds();
    return std::find(ids.begin(), ids.end(), pid) != ids.end() && !processes.modulePaths(pid).empty();
}

}  // namespace

bool StopProgramByName(Processes& processes, SystemInfo* systemInfo, const std::string& fileName,
                       const std::function<void()>& yield) {
    const std::string wanted = processMatchName(fileName);
    const std::string shortForm = shortProgramName(fileName);
    ProcessListing list = ListProcesses(processes, "", true);
    for (size_t i = 0; i < list.size(); ++i) {
        std::string q = processMatchName(list.names[i]);
        if (q == wanted || q == shortForm) {
            for (int attempt = 0; attempt < 11; ++attempt) {
                if (KillProcessById(processes, systemInfo, list.ids[i], 0)) return true;
                if (!stillRunning(processes, list.ids[i])) return true;
            }
            return false;
        }
        if (yield) yield();
    }
    return true;
}

}  // namespace vedozer
