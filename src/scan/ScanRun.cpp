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

void beginStage(ScanContext& ctx, ScanStage stage, const char* key, ScanRunState& state) {
    state.stages.push_back(stage);
    ctx.monitor.beginStage(stage, ctx.message(key));
}

void clearForScan(ScanContext& ctx) {
    ctx.counters.reset();
    ctx.results.clear();
    ctx.monitor.reset();
}

void runStages(ScanContext& ctx, ScanRunState& state) {
    Settings& s = ctx.settings;
    const DefinitionSet& defs = ctx.definitions;
    if (!CheckDefinitionFiles(ctx.dataFiles(), ctx.dataFolder())) {
        state.definitionsMissing = true;
        ctx.host.ask(ctx.languages.question(QuestionKind::DefinitionsMissing, msg::MSG_MISSING, Buttons::Ok,
                                            QuestionIcon::Information));
        return;
    }
    if (ctx.platform.shellFolders)
        LoadSafeList(ctx.safeList, ctx.dataFiles(), ctx.dataFolder(), makeLocationExpander(*ctx.platform.shellFolders),
                     [&] { return ctx.stopped(); });

    ctx.monitor.setBars(0, 0);
    state.cookieItems = 0;
    const int cookieShare = scanPercent(defs.cookieCount, defs.total).value_or(-1);

    if (readsAsOne(s.get(skey::OptionAndSettings, skey::scanCookies, "1"))) {
        beginStage(ctx, ScanStage::Cookies, msg::MSG_COOKIES, state);
        ScanCookies(ctx, state.cookieItems);
        ctx.monitor.setBars(100, cookieShare);
        ctx.monitor.setStatusText(ctx.message(msg::MSG_COOKIES_FINISHED));
    }

    if (s.getBool(skey::OptionAndSettings, skey::scanMemory, true)) {
        beginStage(ctx, ScanStage::Memory, msg::MSG_MEMORY, state);
        SweepMemory(ctx);
    } else {
        ctx.monitor.stageNotSelected(ScanStage::Memory);
    }

    if (s.getBool(skey::OptionAndSettings, skey::scanRegistry, true)) {
        beginStage(ctx, ScanStage::Registry, msg::MSG_REGISTRY, state);
        ctx.monitor.setBars(0, cookieShare);
        ScanRegistryDefinitions(ctx);
    } else {
        ctx.monitor.stageNotSelected(ScanStage::Registry);
        ctx.monitor.setBars(0, cookieShare);
    }

    beginStage(ctx, ScanStage::Files, msg::MSG_SPYWARE, state);
    ScanFileDefinitions(ctx);
    ScanDirectoryDefinitions(ctx);

    ctx.monitor.showScanProgress(ctx.counters, "Scan Complete", ctx.counters.filesAndFoldersInspected,
                                 defs.fileCount, 100, 100);
}

void versionNumbers(int& major, int& minor) {
    major = 0;
    minor = 0;
    std::sscanf(VEDOZER_BUILD_VERSION, "%d.%d", &major, &minor);
}

bool writeReport(ScanContext& ctx, const ScanRunState& state) {
    const ScanTally& tally = ctx.monitor.status().tally;
    const std::string notSelected = ctx.message(msg::MSG_NOTSELECED);
    ScanReportInput in;
    in.programName = ctx.languages.identity().programName;
    versionNumbers(in.majorVersion, in.minorVersion);
    in.scanStarted = state.scanStarted;
    in.scanFinished = state.scanFinished;
    in.memoryInspected = tally.memorySelected ? std::to_string(tally.memoryInspected) : notSelected;
    in.registryInspected = tally.registrySelected ? std::to_string(tally.registryInspected) : notSelected;
    in.filesFoldersInspected = std::to_string(tally.filesInspected);
    for (const auto& row : ctx.results.removalList()) in.threats.emplace_back(row.name, row.location);
    in.uncheckedLocations = ctx.results.uncheckedLocations();
    return MakeReport(ctx.dataFiles(), ctx.dataFolder(), std::move(in));
}

// The current time as value and as general date text.
std::string now(ScanContext& ctx, LocalTime& at) {
    if (!ctx.platform.clock) return "";
    at = ctx.platform.clock->now();
    return generalDateTime(at);
}

}  // namespace

ScanRunState runScan(ScanContext& ctx, bool unattendedRemoval, const ScanRunHooks& hooks) {
    ScanRunState state;
    ctx.scanRunning = true;
    if (hooks.setBackgroundTimers) hooks.setBackgroundTimers(false);
    clearForScan(ctx);
    ctx.files().refresh();  // see the disk as it is now, not as an earlier scan left it
    ctx.stopFlag = false;
    state.scanStarted = now(ctx, state.startedAt);

    runStages(ctx, state);

    state.scanFinished = now(ctx, state.finishedAt);
    Settings& s = ctx.settings;
    s.save(skey::Settings, skey::lastScan, state.scanFinished);
    state.recordedAsComplete = s.getBool(skey::OptionAndSettings, skey::completeScanMode, true);
    if (state.recordedAsComplete) s.save(skey::Settings, skey::lastCompleteScan, state.scanFinished);

    // The counters repaint only every hundredth item; the report and the page end with the
    // final numbers (a stage that was off stays "not selected").
    ctx.monitor.showFinalCounters(ctx.counters, ctx.results.traces());
    if (s.getBool(skey::OptionAndSettings, skey::writeReport, true)) state.reportWritten = writeReport(ctx, state);

    state.cancelled = ctx.stopFlag;
    if (state.cancelled) {
        ctx.monitor.setStageCaption("0% " + ctx.message(msg::MSG_COMPLETED));
        ctx.monitor.setStatusText(ctx.message(msg::MSG_SCAN_CANCELLED));
    } else {
        ctx.monitor.setBars(100, 100);
        ctx.monitor.setStatusText(ctx.message(msg::MSG_SCAN_COMPLETED));
    }

    if (unattendedRemoval && hooks.removeEverything) hooks.removeEverything();
    if (hooks.setBackgroundTimers) hooks.setBackgroundTimers(true);
    if (hooks.statusChanged) hooks.statusChanged();
    return state;
}

void PauseScan(Host& host, const Languages& languages) {
    host.ask(languages.question(QuestionKind::PauseScan, msg::MSG_PAUSED, Buttons::Ok, QuestionIcon::Information));
}

bool RequestStop(Host& host, const Languages& languages, bool& stopFlag, bool shortQuestion) {
    Answer a = host.ask(languages.question(QuestionKind::StopScan, shortQuestion ? msg::MSG_SURE : msg::MSG_STOP,
                                           Buttons::YesNo, QuestionIcon::Question));
    if (a == Answer::Yes) stopFlag = true;
    return a == Answer::Yes;
}

}  // namespace vedozer
