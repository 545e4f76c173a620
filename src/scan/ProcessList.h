#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Processes.h"
#include "platform/SystemInfo.h"

namespace vedozer {

// Running processes with their names, in the order the platform lists them.
struct ProcessListing {
    std::vector<std::string> names;
    std::vector<uint32_t> ids;
    size_t size() const { return ids.size(); }
};

// byIdentifier: the identifier enumeration with each process's main-module name (processes
// that cannot be opened are left out); otherwise the tool-help snapshot. A filter keeps
// only names containing it (exact case).
ProcessListing ListProcesses(Processes& processes, const std::string& filter, bool byIdentifier);

// "System Idle Process" for 0, "System" for 2, the main module's base name, "unknown" when
// that cannot be read, or "" when the process cannot be opened.
std::string ProcessNameFromId(Processes& processes, uint32_t pid);

// A path through the system folder in another form ("\SystemRoot\System32\x.exe") in its
// ordinary form: the system folder + "\" + what follows the last "SYSTEM32\".
std::string NormalizeSystemPath(const std::string& path, const std::string& systemFolder);

// The 8.3 short form a program stop also accepts: the name without ".exe" (any case), cut to 6
// characters when it has 7 or more, upper-cased, with "~1" appended.
std::string shortProgramName(std::string_view fileName);
// How a process image name and a wanted name are compared: the first 15 characters of a name
// of 16 or more, else the part before the first ".", upper-cased.
std::string processMatchName(std::string_view fileName);

// Ends a process (taking the debug privilege first on the NT family). True when it ended.
bool KillProcessById(Processes& processes, SystemInfo* systemInfo, uint32_t pid, uint32_t exitCode);

// Stops the first running process whose image name matches the file name (also in its
// 8.3 form), trying up to 11 times. True when it ended or when nothing of that name runs.
bool StopProgramByName(Processes& processes, SystemInfo* systemInfo, const std::string& fileName,
                       const std::function<void()>& yield = {});

}  // namespace vedozer
