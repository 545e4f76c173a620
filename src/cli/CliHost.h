#pragma once
#include <functional>
#include <string>

#include "core/Host.h"

namespace vedozer::cli {

// The terminal as the engine's host. Questions are answered from flags (--yes) or asked on a
// terminal; without a terminal and without an answer the safe answer is taken (No/Cancel).
// Progress goes to stderr (a bar on a terminal, stage lines otherwise), Live Update's status
// lines to stdout, notices to stderr. Ctrl+C asks the running work to stop; a second Ctrl+C
// ends the process.
class CliHost : public Host {
public:
    CliHost();
    ~CliHost() override;

    bool assumeYes = false;
    bool quiet = false;
    bool showProgress = true;
    // Runs at every yield (the scan command raises the session's stop flag here).
    std::function<void()> onYield;

    // A person can answer questions here (a terminal on both ends).
    bool canAskPerson() const { return m_tty; }

    void yield() override;
    Answer ask(const Question& question) override;
    void onScanStageStarted(const ScanStageStarted& event) override;
    void onScanProgress(const ScanProgress& event) override;
    void onRemovalProgress(const RemovalProgress& event) override;
    void onUpdateProgress(const UpdateProgress& event) override;
    void onNotice(const Notice& notice) override;

    // Set by the stop signal; the command polls it and raises the engine's stop flag.
    static bool stopRequested();
    static void clearStop();
    void finishProgressLine();
    // Ends a line of counting update texts ("Downloaded N bytes.") that is still open.
    void flushUpdateLine();

private:
    void showStage(const std::string& stage);
    void showItem(const std::string& item, int percent);
    void draw();
    void updateLine(const std::string& text);

    bool m_tty;
    bool m_stdoutTty;
    std::string m_stage;
    std::string m_item;
    int m_overall = 0;
    bool m_lineOpen = false;
    std::string m_lastPlain;
    // Live Update's texts that only count up are redrawn in place (terminal) or printed once
    // at the end of their run (log).
    std::string m_pending, m_pendingKind, m_lastUpdate;
};

}  // namespace vedozer::cli
