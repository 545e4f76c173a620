#include "scan/MemoryScan.h"

#include <unordered_set>

#include "definitions/DefinitionRecords.h"
#include "definitions/LineCodec.h"
#include "definitions/PathTokens.h"
#include "i18n/MessageKeys.h"
#include "scan/FileCompanyName.h"
#include "scan/FileScan.h"
#include "scan/ProcessList.h"
#include "scan/ProgramStop.h"
#include "text/Text.h"

namespace vedozer {

namespace {

constexpr size_t kModuleNameLength = 260;

// "|" + path 1 + "|" + path 2 + ... + "|", upper case. A line without "=" repeats the
// previous path. Emptied when a stop interrupts the reading.
std::string buildExecutablePathList(ScanContext& ctx, std::string& lastProgressItem) {
    std::string list;
    auto lines = openLines(ctx.dataFiles(), dataFilePath(ctx.dataFolder(), kExeDefinitionFile));
    if (!lines) return list;
    const LocationExpander expander = makeLocationExpander(*ctx.platform.shellFolders);
    const DefinitionSet& defs = ctx.definitions;
    std::string raw, previousPath;
    long number = 0;
    list = "|";
    while (lines->next(raw)) {
        ++number;
        if (ctx.stopped()) return "";
        std::string line = DecodeDefinitionLine(raw);
        auto d = parseExeDefinition(line, expander);
        if (d) previousPath = d->path;
        else if (!text::trimWhitespace(line).empty())
            ctx.skip(std::string(kExeDefinitionFile) + " line " + std::to_string(number) + ": no \"=\"");
        list += previousPath + "|";
        if (ctx.scanRunning) {
            int32_t& inspected = ctx.counters.cookiesAndProcessesInspected;
            ++inspected;
            lastProgressItem = d ? d->fileName : line;
            ctx.showProgress(lastProgressItem, inspected, defs.executableCount, scanPercent(inspected, defs.executableCount),
                             scanPercent(static_cast<double>(inspected) + defs.cookieCount, defs.total));
        }
        ctx.yield();
    }
    if (lines->failed()) ctx.skip(std::string(kExeDefinitionFile) + ": read error after line " + std::to_string(number));
    return text::toUpper(list);
}

void checkProcess(ScanContext& ctx, uint32_t pid, const std::string& pathList, const std::string& systemFolder) {
    // Only the first module (the program itself) is compared: asked for alone, not with every library.
    const std::string program = ctx.platform.processes->mainModulePath(pid);
    if (program.empty()) return;
    std::string moduleName = program.substr(0, kModuleNameLength);
    // Upper case again after the system folder went in, so both sides of the lookup are.
    std::string path = text::toUpper(NormalizeSystemPath(text::toUpper(text::trim(moduleName)), systemFolder));
    std::string fileName = FileNamePart(path);
    if (pathList.find("|" + path + "|") == std::string::npos) return;
    std::string company = scannedFileCompany(ctx, path);
    if (isMicrosoftCompany(company)) return;
    if (ctx.exclusions.IsExcluded(fileName)) {
        ctx.results.addExcluded(DetectionKind::Process, fileName);
        return;
    }
    if (text::toUpper(text::trim(fileName)) == text::toUpper(kOwnHelperProcess)) return;
    ReportRunningThreat(ctx, RunningThreat{fileName, company, path, pid});
    ++ctx.counters.softwareFound;
}

}  // namespace

void ReportRunningThreat(ScanContext& ctx, const RunningThreat& threat) {
    const std::string& fileName = threat.fileName;
    if (ctx.scanRunning) {
        // The row says what happened: a program that would not stop is not called stopped.
        // Only the process whose main module is the detected file: a namesake elsewhere is left alone.
        bool stopped = stopRunningProgram(ctx.platform, ctx.host, fileName, threat.path) != ProgramStopResult::Refused;
        std::string row = "Detected in the memory : " + fileName +
                          (stopped ? " was stopped from running." : " " + ctx.message(msg::MSG_ERROR_STOPPED));
        ctx.results.addFoundRow(row, kIconFile);
        ctx.results.addProgramFound(ProgramFound{fileName, stopped});
        ctx.host.onItemFound(ItemFound{DetectionKind::Process, fileName, fileName, false});
        if (!stopped) ctx.host.onNotice(Notice{NoticeKind::Warning, row});
    } else if (ctx.onShieldThreat) {
        ctx.onShieldThreat(threat);
    }
}

// The running programs of the examined system: on an offline image the machine's own programs
// are listed too, and they are neither counted nor checked.
ProcessListing programsOfTheSystem(Processes& processes) {
    ProcessListing running = ListProcesses(processes, "", true);
    std::unordered_set<uint32_t> outside;
    for (const ProcessEntry& e : processes.snapshot())
        if (e.outsideSystem) outside.insert(e.pid);
    if (outside.empty()) return running;
    ProcessListing kept;
    for (size_t i = 0; i < running.size(); ++i) {
        if (outside.count(running.ids[i])) continue;
        kept.names.push_back(running.names[i]);
        kept.ids.push_back(running.ids[i]);
    }
    return kept;
}

void ScanRunningProcesses(ScanContext& ctx) {
    if (!ctx.platform.processes) return;
    Processes& processes = *ctx.platform.processes;
    ProcessListing running = programsOfTheSystem(processes);

    std::string lastItem;
    const std::string pathList = buildExecutablePathList(ctx, lastItem);
    ctx.monitor.showRunningPrograms(static_cast<int32_t>(running.size()));

    const DefinitionSet& defs = ctx.definitions;
    const std::string systemFolder = ctx.platform.systemInfo ? ctx.platform.systemInfo->systemFolder() : "";
    for (size_t i = 0; i < running.size(); ++i) {
        int32_t& inspected = ctx.counters.cookiesAndProcessesInspected;
        ++inspected;
        ctx.showProgress(lastItem, static_cast<int64_t>(i + 1), static_cast<int64_t>(running.size()),
                         scanPercent(inspected, defs.executableCount),
                         scanPercent(static_cast<double>(inspected) + defs.executableCount, defs.total));
        if (ctx.stopped()) return;
        checkProcess(ctx, running.ids[i], pathList, systemFolder);
        ctx.yield();
    }
}

void SweepMemory(ScanContext& ctx) {
    if (!ctx.platform.systemInfo) return;
    switch (ctx.platform.systemInfo->version().family) {
        case PlatformFamily::WindowsNT: ScanRunningProcesses(ctx); break;
        case PlatformFamily::Windows9x:
            if (ctx.sweepMemory95) ctx.sweepMemory95();
            break;
        default: break;
    }
}

}  // namespace vedozer
