#pragma once
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/Outcome.h"
#include "protection/BackgroundTimers.h"
#include "protection/RunningPrograms95.h"
#include "scan/ScanContext.h"

namespace vedozer {

// What the person chose in the alert about one running program.
enum class ShieldChoice {
    Stop,   // STOP: the program is ended
    Allow,  // ALLOW: it may run; it goes on the exclusion list and is not asked about again this run
    Later,  // the alert was closed without a choice: asked again at a later check
};

// One alert of a check and what became of it.
struct ShieldAlert {
    RunningThreat threat;
    ShieldChoice choice = ShieldChoice::Later;
    // Stop: done when it ended, skipped when it had already ended, not done when it could not be
    // stopped. Allow: done when the exclusion list took it, not done when it could not be written
    // (it is still allowed until the program ends). Later: skipped.
    Outcome outcome;
};

// The memory shield: every few seconds it looks at the running programs, and for each one the
// executable definitions name (no scan running, not excluded, not made by Microsoft) it asks the
// person with the alert "Malicious Program Found" whether to STOP or ALLOW it.
class MemoryShield {
public:
    // makeContext gives a context over the session's lists, counters and host for one check.
    MemoryShield(BackgroundTimers& timers, std::function<ScanContext()> makeContext);

    // The check (tmrMemoryInspected's tick, and every third tick of the home-page check): nothing
    // while optMemorySheildOn reads false; otherwise the protection timers are held while the
    // running programs are swept and each alert waits for its answer.
    std::vector<ShieldAlert> check();

    // The sweep of the Windows 95/98/ME family for the scan run's memory stage (ScanContext::
    // sweepMemory95): during a scan a listed program is stopped without a question.
    void sweepMemory95(ScanContext& ctx);

    // Programs allowed in this run, by upper-case file name.
    const std::set<std::string>& allowed() const { return m_allowed; }

    // The alert's question: title "Malicious Program Found", the fixed texts, and as subjects the
    // file name and the company name. Yes is STOP, No is ALLOW, Cancel decides later.
    static Question alertQuestion(const RunningThreat& threat);

private:
    ShieldAlert answerAlert(ScanContext& ctx, const RunningThreat& threat, bool family9x);
    Outcome stop(ScanContext& ctx, const RunningThreat& threat, bool family9x);
    Outcome allow(ScanContext& ctx, const RunningThreat& threat);

    BackgroundTimers& m_timers;
    std::function<ScanContext()> m_makeContext;
    std::set<std::string> m_allowed;
    ExecutableNameList m_names95;
};

}  // namespace vedozer
