#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "app/Host.h"
#include "scan/ScanCounters.h"

namespace vedozer {

// Labels of the scan page that the scan run writes.
enum class ScanLabel {
    lblMemoryInspected,
    lblRegistryInspected,
    lblFilesFolderInspected,
    lblSoftwareFound,
    lblRemovePicSoftwareFound,
    lbltracesFound,
    lblPercentageCompleted,
    lblStatus,  // lblStatus(0)
    lblTotalNoOfRunningItems,
};
inline constexpr size_t kScanLabelCount = 9;

// Progress bars: the current stage, the whole scan, and the third bar hidden during a scan.
enum class ScanBar { pb1, pb2, pbgMain };
inline constexpr size_t kScanBarCount = 3;

const char* scanLabelName(ScanLabel label);
const char* scanBarName(ScanBar bar);

// Nearest whole number, an exact half going to the even neighbour.
int64_t roundHalfEven(double value);
// part / whole * scale, rounded half to even; nothing when whole is 0 (the caller then
// skips the progress call).
std::optional<int> scanPercent(double part, double whole, double scale = 100.0);

// What the scan page shows during a scan: label captions and bar values. Every change is
// passed on to the host (status for labels, progress for bars, named as above), so a
// front end draws it while the scanners yield.
class ScanProgress {
public:
    explicit ScanProgress(Host* host = nullptr) : m_host(host) { m_labels.fill("0"); }
    void setHost(Host* host) { m_host = host; }
    Host* host() const { return m_host; }

    const std::string& label(ScanLabel l) const { return m_labels[static_cast<size_t>(l)]; }
    void setLabel(ScanLabel l, std::string text);
    int bar(ScanBar b) const { return m_bars[static_cast<size_t>(b)]; }
    // Values outside 0..100 leave the bar as it is.
    void setBar(ScanBar b, int value);
    bool pbgMainVisible() const { return m_pbgMainVisible; }
    void setPbgMainVisible(bool visible) { m_pbgMainVisible = visible; }

    // The current stage's message + ": "; scanners show stage label + CR LF + item.
    const std::string& stageLabel() const { return m_stageLabel; }
    void setStageLabel(std::string label) { m_stageLabel = std::move(label); }

    // Called after each inspected item. Only every hundredth call paints: the counter
    // labels, the filtered status text, and the bars whose percent is 0 or more.
    void ShowScanProgress(ScanCounters& counters, const std::string& text, int stagePercent, int overallPercent);
    // Paints the counters and the status now, whatever the refresh count (end of a scan).
    void paintCounters(ScanCounters& counters, const std::string& text);
    // lbltracesFound follows every detection at once.
    void showTraces(int32_t traces) { setLabel(ScanLabel::lbltracesFound, std::to_string(traces)); }

    // Number of paints so far (for front ends that poll, and for tests).
    uint64_t paints() const { return m_paints; }

private:
    Host* m_host;
    std::array<std::string, kScanLabelCount> m_labels;
    std::array<int, kScanBarCount> m_bars{};
    bool m_pbgMainVisible = true;
    std::string m_stageLabel;
    uint64_t m_paints = 0;
};

}  // namespace vedozer
