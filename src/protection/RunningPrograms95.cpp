#include "protection/RunningPrograms95.h"

#include "definitions/DefinitionFiles.h"
#include "definitions/LineCodec.h"
#include "i18n/MessageKeys.h"
#include "scan/FileCompanyName.h"
#include "scan/FileScan.h"
#include "text/Text.h"

namespace vedozer {

void ExecutableNameList::add(std::string upperName) {
    m_names.insert(std::move(upperName));
    ++m_lines;
}

void ExecutableNameList::clear() {
    m_names.clear();
    m_lines = 0;
}

bool KillProcessByIdPlain(Processes& processes, uint32_t pid) { return processes.terminate(pid, 0); }

namespace {

// Reads the names; false when the definition file is missing or a stop interrupted the reading.
bool readExecutableNames(ScanContext& ctx, ExecutableNameList& names) {
    const std::string path = dataFilePath(ctx.dataFolder(), kExeDefinitionFile);
    auto lines = openLines(ctx.dataFiles(), path);
    if (!lines) return false;
    names.clear();
    const DefinitionSet& defs = ctx.definitions;
    std::string raw;
    while (lines->next(raw)) {
        if (ctx.stopped()) {
            names.clear();
            return false;
        }
        std::string line = DecodeDefinitionLine(raw);
        std::string name = text::toUpper(text::trim(line.substr(0, line.find('='))));
        int32_t& inspected = ctx.counters.cookiesAndProcessesInspected;
        ++inspected;
        ctx.showProgress(name, inspected, defs.executableCount, scanPercent(inspected, defs.executableCount),
                         scanPercent(static_cast<double>(inspected) + defs.cookieCount, defs.total));
        names.add(std::move(name));
        ctx.yield();
    }
    if (lines->failed()) ctx.skip(std::string(kExeDefinitionFile) + ": read error");
    return true;
}

}  // namespace

void ScanRunningProcesses95(ScanContext& ctx, ExecutableNameList& names,
                            const std::function<void(const RunningThreat&)>& onThreat) {
    if (!ctx.platform.processes) return;
    if (!names.empty())
        ctx.counters.cookiesAndProcessesInspected += static_cast<int32_t>(names.lineCount());
    else if (!readExecutableNames(ctx, names))
        return;
    std::vector<ProcessEntry> entries = ctx.platform.processes->snapshot();
    int32_t listed = 0;
    for (const ProcessEntry& entry : entries) {
        ctx.monitor.showRunningPrograms(++listed);
        const std::string exe = entry.exeFile.substr(0, entry.exeFile.find('\0'));
        const std::string name = text::toUpper(text::trim(FileNamePart(exe)));
        if (!names.contains(name)) continue;
        std::string company = text::toUpper(text::trim(scannedFileCompany(ctx, exe)));
        if (isMicrosoftCompany(company)) continue;
        if (ctx.exclusions.IsExcluded(name)) {
            ctx.results.addExcluded(DetectionKind::Process, name);
            continue;
        }
        if (ctx.scanRunning) {
            // The row says what happened: a program that would not stop is not called stopped.
            bool stopped = KillProcessByIdPlain(*ctx.platform.processes, entry.pid);
            std::string row = "Detected in the memory : " + name +
                              (stopped ? " was stopped from running." : " " + ctx.message(msg::MSG_ERROR_STOPPED));
            ctx.results.addFoundRow(row, kIconFile);
            ctx.host.onItemFound(ItemFound{DetectionKind::Process, name, name, false});
            if (!stopped) ctx.host.onNotice(Notice{NoticeKind::Warning, row});
            ++ctx.counters.softwareFound;
        } else if (onThreat) {
            onThreat(RunningThreat{name, company, text::toUpper(exe), entry.pid});
        }
        ctx.yield();
    }
}

}  // namespace vedozer
