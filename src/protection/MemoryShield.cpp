#include "protection/MemoryShield.h"

#include "definitions/ExclusionList.h"
#include "i18n/MessageKeys.h"
#include "scan/ProgramStop.h"
#include "scan/MemoryScan.h"
#include "settings/SettingsKeys.h"
#include "text/Text.h"

namespace vedozer {

MemoryShield::MemoryShield(BackgroundTimers& timers, std::function<ScanContext()> makeContext)
    : m_timers(timers), m_makeContext(std::move(makeContext)) {}

Question MemoryShield::alertQuestion(const RunningThreat& threat) {
    Question q;
    q.kind = QuestionKind::RunningThreat;
    q.title = "Malicious Program Found";
    q.text = "Spyware/Adware has been detected.\r\n"
             "Click STOP to stop it from running.\r\n"
             "Click ALLOW to allow the program to run.\r\n\r\n"
             "File Name: " + threat.fileName + "\r\n" +
             "Company Name: " + threat.company;
    q.buttons = Buttons::YesNoCancel;
    q.icon = QuestionIcon::Exclamation;
    q.subjects = {threat.fileName, threat.company};
    return q;
}

std::vector<ShieldAlert> MemoryShield::check() {
    std::vector<ShieldAlert> alerts;
    if (!m_makeContext) return alerts;
    ScanContext ctx = m_makeContext();
    if (!ctx.settings.getBool(skey::OptionAndSettings, skey::memoryShieldOn, true)) return alerts;
    // No other protection tick may start while an alert waits for the person.
    BackgroundTimers::Hold hold = m_timers.hold();
    ctx.scanRunning = false;
    ctx.onShieldThreat = [&](const RunningThreat& t) { alerts.push_back(answerAlert(ctx, t, false)); };
    ctx.sweepMemory95 = [&] {
        ScanRunningProcesses95(ctx, m_names95,
                               [&](const RunningThreat& t) { alerts.push_back(answerAlert(ctx, t, true)); });
    };
    SweepMemory(ctx);
    return alerts;
}

void MemoryShield::sweepMemory95(ScanContext& ctx) { ScanRunningProcesses95(ctx, m_names95, {}); }

ShieldAlert MemoryShield::answerAlert(ScanContext& ctx, const RunningThreat& threat, bool family9x) {
    ShieldAlert alert{threat, ShieldChoice::Later, Outcome::skipped("allowed earlier in this run")};
    // Allowed before, but its exclusion could not be written: not asked again in this run.
    if (m_allowed.count(text::toUpper(threat.fileName))) return alert;
    Question q = alertQuestion(threat);
    if (family9x) {
        // This family asks with a plain message box.
        const Languages& l = ctx.languages;
        q = l.questionWithText(QuestionKind::RunningThreat,
                               l.getMessages(msg::MSG_FOUND1) + threat.fileName + l.getMessages(msg::MSG_FOUND2) +
                                   threat.fileName + l.getMessages(msg::MSG_FOUND3),
                               Buttons::YesNoCancel, QuestionIcon::Question);
        q.title = l.identity().programName + "  - Alert";
        q.subjects = {threat.fileName, threat.company};
    }
    switch (ctx.host.ask(q)) {
        case Answer::Yes:
            alert.choice = ShieldChoice::Stop;
            alert.outcome = stop(ctx, threat, family9x);
            break;
        case Answer::No:
            alert.choice = ShieldChoice::Allow;
            alert.outcome = allow(ctx, threat);
            break;
        default: alert.outcome = Outcome::skipped("no choice was made"); break;
    }
    return alert;
}

Outcome MemoryShield::stop(ScanContext& ctx, const RunningThreat& threat, bool family9x) {
    Outcome outcome;
    if (family9x) {
        bool ended = ctx.platform.processes && KillProcessByIdPlain(*ctx.platform.processes, threat.pid);
        outcome = ended ? Outcome::done() : Outcome::notDone("the program could not be stopped");
    } else {
        switch (stopRunningProgram(ctx.platform, ctx.host, threat.fileName, threat.path)) {
            case ProgramStopResult::Stopped: outcome = Outcome::done(); break;
            case ProgramStopResult::NotRunning: outcome = Outcome::skipped("the program had already ended"); break;
            case ProgramStopResult::Refused: outcome = Outcome::notDone("the program could not be stopped"); break;
        }
    }
    if (outcome.isDone() && family9x) ++ctx.counters.softwareFound;
    if (outcome.failed()) {
        // The catalogue's text goes on the sentence that the file name begins.
        std::string rest = ctx.message(msg::MSG_ERROR_STOPPED);
        if (!rest.empty()) rest[0] = text::lowerChar(rest[0]);
        ctx.host.onNotice(Notice{NoticeKind::Warning, text::toUpper(text::trim(threat.fileName)) + " " + rest});
    }
    return outcome;
}

Outcome MemoryShield::allow(ScanContext& ctx, const RunningThreat& threat) {
    const std::string name = text::trim(threat.fileName);
    m_allowed.insert(text::toUpper(name));
    if (AddExclusion(ctx.exclusions, ctx.dataFiles(), ctx.dataFolder(), name)) return Outcome::done();
    ctx.host.onNotice(Notice{NoticeKind::Warning, name + " could not be added to the exclusion list; it is allowed "
                                                         "until the program ends."});
    return Outcome::notDone("the exclusion list could not be written");
}

}  // namespace vedozer
