#include "scan/ScanProgress.h"

#include <cmath>

#include "scan/FilterStatusText.h"

namespace vedozer {

namespace {
constexpr const char* kLabelNames[kScanLabelCount] = {
    "lblMemoryInspected",        "lblRegistryInspected", "lblFilesFolderInspected",
    "lblSoftwareFound",          "lblRemovePicSoftwareFound", "lbltracesFound",
    "lblPercentageCompleted",    "lblStatus",            "lblTotalNoOfRunningItems"};
constexpr const char* kBarNames[kScanBarCount] = {"pb1", "pb2", "pbgMain"};
}  // namespace

const char* scanLabelName(ScanLabel label) { return kLabelNames[static_cast<size_t>(label)]; }
const char* scanBarName(ScanBar bar) { return kBarNames[static_cast<size_t>(bar)]; }

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

void ScanProgress::setLabel(ScanLabel l, std::string text) {
    std::string& slot = m_labels[static_cast<size_t>(l)];
    if (slot == text) return;
    slot = std::move(text);
    if (m_host) m_host->status(scanLabelName(l), slot);
}

void ScanProgress::setBar(ScanBar b, int value) {
    if (value < 0 || value > 100) return;
    int& slot = m_bars[static_cast<size_t>(b)];
    if (slot == value) return;
    slot = value;
    if (m_host) m_host->progress(scanBarName(b), value);
}

void ScanProgress::ShowScanProgress(ScanCounters& counters, const std::string& text, int stagePercent,
                                    int overallPercent) {
    if (++counters.refreshCalls <= 99) return;
    paintCounters(counters, text);
    if (stagePercent >= 0) setBar(ScanBar::pb1, stagePercent);
    if (overallPercent >= 0) setBar(ScanBar::pb2, overallPercent);
}

void ScanProgress::paintCounters(ScanCounters& counters, const std::string& text) {
    setLabel(ScanLabel::lblMemoryInspected, std::to_string(counters.cookiesAndProcessesInspected));
    setLabel(ScanLabel::lblRegistryInspected, std::to_string(counters.registryInspected));
    setLabel(ScanLabel::lblFilesFolderInspected, std::to_string(counters.filesAndFoldersInspected));
    setLabel(ScanLabel::lblSoftwareFound, std::to_string(counters.softwareFound));
    setLabel(ScanLabel::lblStatus, FilterStatusText(text));
    setLabel(ScanLabel::lblRemovePicSoftwareFound, std::to_string(counters.softwareFound));
    counters.refreshCalls = 0;
    ++m_paints;
}

}  // namespace vedozer
