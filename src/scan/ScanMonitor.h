#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "core/Host.h"
#include "scan/ScanCounters.h"

namespace vedozer {

// Nearest whole number, an exact half going to the even neighbour.
int64_t roundHalfEven(double value);
// part / whole * scale, rounded half to even; nothing when whole is 0 (the caller then
// skips the progress call).
std::optional<int> scanPercent(double part, double whole, double scale = 100.0);

// What the scan page shows during a scan: the stage, the status line, the two bars and the
// counters. Every change reaches the host as a typed event, so a front end draws it while the
// scanners yield.
class ScanMonitor {
public:
    explicit ScanMonitor(Host* host = nullptr) : m_host(host) {}
    void setHost(Host* host) { m_host = host; }

    // The page as last shown.
    const ScanProgress& status() const { return m_status; }

    // A new scan: counters at zero, every stage selected, captions empty, bars at 0.
    void reset();
    // A stage begins: its caption becomes the stage line and the prefix of the status line.
    void beginStage(ScanStage stage, const std::string& caption);
    // The stage's caption + ": "; scanners show it + CR LF + the item.
    const std::string& stageLabel() const { return m_stageLabel; }
    // A stage switched off for this scan keeps showing as not selected, whatever the counters say.
    void stageNotSelected(ScanStage stage);

    // Called after each inspected item. Only every hundredth call paints: the counters, the
    // filtered status text, the stage's done/total, and the bars whose percent is 0 to 100.
    void showScanProgress(ScanCounters& counters, const std::string& text, int64_t done, int64_t total,
                          int stagePercent, int overallPercent);
    // Paints the counters and the status text now, whatever the refresh count.
    void paintCounters(ScanCounters& counters, const std::string& text);
    // The counters as they end the scan (the report and the summary read them from here).
    void showFinalCounters(const ScanCounters& counters, int32_t traces);

    void setStatusText(const std::string& text);
    void setStageCaption(const std::string& text);
    // Values outside 0..100 leave a bar as it is.
    void setBars(int stagePercent, int overallPercent);
    // The trace count follows every detection at once (shown with the next event).
    void showTraces(int32_t traces) { m_status.tally.traces = traces; }
    void showRunningPrograms(int32_t count);

    // Number of paints so far (for front ends that poll, and for tests).
    uint64_t paints() const { return m_paints; }

private:
    void copyCounters(const ScanCounters& counters);
    void send();

    Host* m_host;
    ScanProgress m_status;
    std::string m_stageLabel;
    uint64_t m_paints = 0;
};

}  // namespace vedozer
