#include "scan/ScanMonitor.h"

#include <cmath>

#include "scan/FilterStatusText.h"

namespace vedozer {

int64_t roundHalfEven(double value) {
    double lower = std::floor(value);
    double diff = value - lower;
    double r = lower;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(lower, 2.0) != 0.0)) r = lower + 1.0;
    return static_cast<int64_t>(r);
}

std::optional<int> scanPercent(double part, double whole, double scale) {
    if (whole == 0) return std::nullopt;
    double v = part / whole * scale;
    if (!std::isfinite(v) || v > 2147483647.0 || v < -2147483648.0) return std::nullopt;
    return static_cast<int>(roundHalfEven(v));
}

void ScanMonitor::reset() {
    m_status = ScanProgress{};
    m_stageLabel.clear();
    send();
}

void ScanMonitor::beginStage(ScanStage stage, const std::string& caption) {
    m_status.stage = stage;
    m_status.stageCaption = caption;
    m_status.done = 0;
    m_status.total = 0;
    m_stageLabel = caption + ": ";
    if (m_host) m_host->onScanStageStarted(ScanStageStarted{stage, caption});
}

void ScanMonitor::stageNotSelected(ScanStage stage) {
    if (stage == ScanStage::Memory) m_status.tally.memorySelected = false;
    if (stage == ScanStage::Registry) m_status.tally.registrySelected = false;
    send();
}

void ScanMonitor::showScanProgress(ScanCounters& counters, const std::string& text, int64_t done, int64_t total,
                                   int stagePercent, int overallPercent) {
    if (++counters.refreshCalls <= 99) return;
    m_status.done = done;
    m_status.total = total;
    if (stagePercent >= 0 && stagePercent <= 100) m_status.stagePercent = stagePercent;
    if (overallPercent >= 0 && overallPercent <= 100) m_status.overallPercent = overallPercent;
    paintCounters(counters, text);
}

void ScanMonitor::paintCounters(ScanCounters& counters, const std::string& text) {
    copyCounters(counters);
    m_status.caption = FilterStatusText(text);
    counters.refreshCalls = 0;
    ++m_paints;
    send();
}

void ScanMonitor::showFinalCounters(const ScanCounters& counters, int32_t traces) {
    copyCounters(counters);
    m_status.tally.traces = traces;
    send();
}

void ScanMonitor::setStatusText(const std::string& text) {
    m_status.caption = text;
    send();
}

void ScanMonitor::setStageCaption(const std::string& text) {
    m_status.stageCaption = text;
    send();
}

void ScanMonitor::setBars(int stagePercent, int overallPercent) {
    if (stagePercent >= 0 && stagePercent <= 100) m_status.stagePercent = stagePercent;
    if (overallPercent >= 0 && overallPercent <= 100) m_status.overallPercent = overallPercent;
    send();
}

void ScanMonitor::showRunningPrograms(int32_t count) {
    m_status.tally.runningPrograms = count;
    send();
}

void ScanMonitor::copyCounters(const ScanCounters& c) {
    ScanTally& t = m_status.tally;
    t.memoryInspected = c.cookiesAndProcessesInspected;
    t.registryInspected = c.registryInspected;
    t.filesInspected = c.filesAndFoldersInspected;
    t.softwareFound = c.softwareFound;
}

void ScanMonitor::send() {
    if (m_host) m_host->onScanProgress(m_status);
}

}  // namespace vedozer
