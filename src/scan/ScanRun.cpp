#include "scan/ScanRun.h"

#include "text/GeneralDate.h"

#include <cstdio>
#include <cstdlib>

#include "BuildIdentity.h"
#include "definitions/PathTokens.h"
#include "i18n/MessageKeys.h"
#include "report/ScanReport.h"
#include "scan/CookieScan.h"
#include "scan/FileScan.h"
#include "scan/MemoryScan.h"
#include "scan/RegistryScan.h"
#include "settings/SettingsKeys.h"
#include "text/Text.h"

namespace vedozer {

namespace {

// A check box that must read as the number 1 (as the cookie option is tested).
bool readsAsOne(const std::string& value) {
    std::string t = text::trimWhitespace(value);
    if (t.empty()) return false;
    char* end = nullptr;
    double v = std::strtod(t.c_str(), &end);
    return end != t.c_str() && v == 1.0;
}

void beginStage(ScanContext& ctx, const char* key) {
    std::string caption = ctx.message(key);
    ctx.progress.setLabel(ScanLabel::lblPercentageCompleted, caption);
    ctx.progress.setStageLabel(caption + ": ");
}

void clearForScan(ScanContext& ctx) {
    for (ScanLabel l : {ScanLabel::lblRegistryInspected, ScanLabel::lblFilesFolderInspected,
                        ScanLabel::lblMemoryInspected, ScanLabel::lblSoftwareFound,
                        ScanLabel::lblRemovePicSoftwareFound, ScanLabel::lbltracesFound,
                        ScanLabel::lblPercentageCompleted, ScanLabel::lblStatus,
                        ScanLabel::lblTotalNoOfRunningItems})
        ctx.progress.setLabel(l, "0");
    ctx.counters.reset();
    ctx.results.clear();
}

void runStages(ScanContext& ctx, ScanRunState& state) {
    Settings& s = ctx.settings;
    const DefinitionSet& defs = ctx.definitions;
    if (!CheckDefinitionFiles(ctx.dataFiles(), ctx.dataFolder())) {
        state.definitionsMissing = true;
        ctx.host.messageBox(ctx.message(msg::MSG_MISSING), ctx.languages.identity().programName, MsgButtons::Ok,
                            MsgIcon::Information);
        return;
    }
    if (ctx.platform.shellFolders)
        LoadSafeList(ctx.safeList, ctx.dataFiles(), ctx.dataFolder(), makeLocationExpander(*ctx.platform.shellFolders),
                     [&] { return ctx.stopped(); });

    ctx.progress.setPbgMainVisible(false);
    ctx.progress.setBar(ScanBar::pbgMain, 0);
    ctx.progress.setBar(ScanBar::pb1, 0);
    ctx.progress.setBar(ScanBar::pb2, 0);
    state.cookieItems = 0;
    const std::optional<int> cookieShare = scanPercent(defs.cookieCount, defs.total);

    if (readsAsOne(s.get(skey::OptionAndSettings, skey::chkScanCookies, "1"))) {
        state.stages.push_back("cookies");
        beginStage(ctx, msg::MSG_COOKIES);
        ScanCookies(ctx, state.cookieItems);
        ctx.progress.setBar(ScanBar::pb1, 100);
        if (cookieShare) ctx.progress.setBar(ScanBar::pb2, *cookieShare);
        ctx.progress.setLabel(ScanLabel::lblStatus, ctx.message(msg::MSG_COOKIES_FINISHED));
    }

    if (s.getBool(skey::OptionAndSettings, skey::chkSweepMemory, true)) {
        state.stages.push_back("memory");
        beginStage(ctx, msg::MSG_MEMORY);
        SweepMemory(ctx);
    } else {
        ctx.progress.setLabel(ScanLabel::lblMemoryInspected, ctx.message(msg::MSG_NOTSELECED));
    }

    beginStage(ctx, msg::MSG_REGISTRY);
    ctx.progress.setBar(ScanBar::pb1, 0);
    if (cookieShare) ctx.progress.setBar(ScanBar::pb2, *cookieShare);
    if (s.getBool(skey::OptionAndSettings, skey::chkScanRegistry, true)) {
        state.stages.push_back("registry");
        ScanRegistryDefinitions(ctx);
    } else {
        ctx.progress.setLabel(ScanLabel::lblRegistryInspected, ctx.message(msg::MSG_NOTSELECED));
    }

    state.stages.push_back("files");
    beginStage(ctx, msg::MSG_SPYWARE);
    ctx.progress.setBar(ScanBar::pbgMain, 0);
    ScanFileDefinitions(ctx);
    ScanDirectoryDefinitions(ctx);

    ctx.progress.ShowScanProgress(ctx.counters, "Scan Complete", 100, 100);
}

// The counter labels repaint only every hundredth item; before the report reads them they
// get the final numbers, except those of stages that were not selected.
void showFinalCounters(ScanContext& ctx) {
    const std::string notSelected = ctx.message(msg::MSG_NOTSELECED);
    auto set = [&](ScanLabel l, int32_t value) {
        if (ctx.progress.label(l) != notSelected) ctx.progress.setLabel(l, std::to_string(value));
    };
    set(ScanLabel::lblMemoryInspected, ctx.counters.cookiesAndProcessesInspected);
    set(ScanLabel::lblRegistryInspected, ctx.counters.registryInspected);
    set(ScanLabel::lblFilesFolderInspected, ctx.counters.filesAndFoldersInspected);
    ctx.progress.setLabel(ScanLabel::lblSoftwareFound, std::to_string(ctx.counters.softwareFound));
    ctx.progress.setLabel(ScanLabel::lblRemovePicSoftwareFound, std::to_string(ctx.counters.softwareFound));
}

void versionNumbers(int& major, int& minor) {
    major = 0;
    minor = 0;
    std::sscanf(VEDOZER_BUILD_VERSION, "%d.%d", &major, &minor);
}

bool writeReport(ScanContext& ctx, const ScanRunState& state) {
    ScanReportInput in;
    in.programName = ctx.languages.identity().programName;
    versionNumbers(in.majorVersion, in.minorVersion);
    in.scanStarted = state.scanStarted;
    in.scanFinished = state.scanFinished;
    in.memoryInspected = ctx.progress.label(ScanLabel::lblMemoryInspected);
    in.registryInspected = ctx.progress.label(ScanLabel::lblRegistryInspected);
    in.filesFoldersInspected = ctx.progress.label(ScanLabel::lblFilesFolderInspected);
    for (const auto& row : ctx.results.removalList()) in.threats.emplace_back(row.name, row.location);
    return MakeReport(ctx.dataFiles(), ctx.dataFolder(), std::move(in));
}

std::string now(ScanContext& ctx) { return ctx.platform.clock ? generalDateTime(ctx.platform.clock->now()) : ""; }

}  // namespace

ScanRunState runScan(ScanContext& ctx, bool unattendedRemoval, const ScanRunHooks& hooks) {
    ScanRunState state;
    ctx.scanRunning = true;
    if (hooks.setBackgroundTimers) hooks.setBackgroundTimers(false);
    clearForScan(ctx);
    ctx.files().refresh();  // see the disk as it is now, not as an earlier scan left it
    ctx.stopFlag = false;
    state.scanStarted = now(ctx);

    runStages(ctx, state);

    state.scanFinished = now(ctx);
    Settings& s = ctx.settings;
    s.save(skey::Settings, skey::lblLastScan, state.scanFinished);
    if (s.getBool(skey::OptionAndSettings, skey::optScanAllSelectedHardDrive, true))
        s.save(skey::Settings, skey::lblLastFullScan, state.scanFinished);

    showFinalCounters(ctx);
    if (s.getBool(skey::OptionAndSettings, skey::chkMakeLog, true)) state.reportWritten = writeReport(ctx, state);

    state.cancelled = ctx.stopFlag;
    if (state.cancelled) {
        ctx.progress.setLabel(ScanLabel::lblStatus, ctx.message(msg::MSG_SCAN_CANCELLED));
        ctx.progress.setLabel(ScanLabel::lblPercentageCompleted, "0% " + ctx.message(msg::MSG_COMPLETED));
        ctx.progress.setBar(ScanBar::pbgMain, 0);
    } else {
        ctx.progress.setLabel(ScanLabel::lblStatus, ctx.message(msg::MSG_SCAN_COMPLETED));
        ctx.progress.setBar(ScanBar::pb1, 100);
        ctx.progress.setBar(ScanBar::pb2, 100);
    }

    if (unattendedRemoval && hooks.removeEverything) hooks.removeEverything();
    if (hooks.setBackgroundTimers) hooks.setBackgroundTimers(true);
    if (hooks.refreshStatusPage) hooks.refreshStatusPage();
    return state;
}

void PauseScan(Host& host, const clsLanguages& languages) {
    host.messageBox(languages.getMessages(msg::MSG_PAUSED), languages.identity().programName, MsgButtons::Ok,
                    MsgIcon::Information);
}

bool RequestStop(Host& host, const clsLanguages& languages, bool& stopFlag, bool fromLabel) {
    MsgAnswer a = host.messageBox(languages.getMessages(fromLabel ? msg::MSG_SURE : msg::MSG_STOP),
                                  languages.identity().programName, MsgButtons::YesNo, MsgIcon::Question);
    if (a == MsgAnswer::Yes) stopFlag = true;
    return a == MsgAnswer::Yes;
}

}  // namespace vedozer
