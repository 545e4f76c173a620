#pragma once
#include <functional>
#include <string>

#include "app/Host.h"

namespace vedozer::cli {

// The terminal as the engine's host. Questions are answered from flags (--yes) or asked on a
// terminal; without a terminal and without an answer the safe answer is taken (No/Cancel).
// Ctrl+C asks the running work to stop; a second Ctrl+C ends the process.
class CliHost : public Host {
public:
    CliHost();
    ~CliHost() override;

    bool assumeYes = false;
    bool quiet = false;
    bool showProgress = true;
    // Runs at every yield (the scan command raises the engine's stop flag here).
    std::function<void()> onYield;

    void yield() override;
    MsgAnswer messageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                         MsgIcon icon) override;
    void status(const std::string& channel, const std::string& text) override;
    void progress(const std::string& channel, int percent) override;

    // Set by the stop signal; the command polls it and raises the engine's stop flag.
    static bool stopRequested();
    static void clearStop();
    void finishProgressLine();

private:
    void draw();
    bool m_tty;
    std::string m_stage;
    std::string m_item;
    int m_percent = 0;
    int m_overall = 0;
    bool m_lineOpen = false;
    std::string m_lastPlain;
};

}  // namespace vedozer::cli
