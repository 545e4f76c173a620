#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <unordered_set>

#include "scan/ScanContext.h"

namespace vedozer {

// The executable file names of ExeDefinition.dat (the part of each line before its first "=",
// upper case), read once and kept for the whole run; emptied when a stop interrupts its reading.
class ExecutableNameList {
public:
    bool empty() const { return m_names.empty(); }
    size_t lineCount() const { return m_lines; }
    bool contains(const std::string& upperName) const { return m_names.count(upperName) > 0; }
    void add(std::string upperName);
    void clear();

private:
    std::unordered_set<std::string> m_names;
    size_t m_lines = 0;  // names read, repeats included (the inspected counter counts them)
};

// The memory sweep of the Windows 95/98/ME family over the tool-help snapshot. A running program
// named by the list (not made by Microsoft, not excluded) is stopped at once during a scan
// (listed in the found list) and handed to onThreat outside one.
void ScanRunningProcesses95(ScanContext& ctx, ExecutableNameList& names,
                            const std::function<void(const RunningThreat&)>& onThreat);

// Ends a process with terminate access only, without the debug privilege. True when it ended.
bool KillProcessByIdPlain(Processes& processes, uint32_t pid);

}  // namespace vedozer
