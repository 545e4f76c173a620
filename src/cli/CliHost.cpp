#include "cli/CliHost.h"

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <optional>
#include <cstdio>
#include <iostream>

#include "cli/Terminal.h"
#include "text/CodePage.h"
#include "text/Text.h"

namespace vedozer::cli {
namespace {

volatile std::sig_atomic_t g_stops = 0;

void onInterrupt(int) {
    g_stops = g_stops + 1;
    if (g_stops >= 2) {
        const char msg[] = "\nvedozer: aborted\n";
        (void)!::write(2, msg, sizeof msg - 1);
        ::_exit(130);
    }
}

std::string oneLine(const std::string& s) {
    std::string out = text::replaceAll(text::replaceAll(s, "\r\n", " "), "\n", " ");
    return text::replaceAll(out, "\r", " ");
}

// One line for the terminal: line breaks become blanks, other control characters are escaped.
std::string utf8Line(const std::string& cp1252) { return shown(oneLine(cp1252)); }

// The item part of a status line (stage caption, CR LF, item); "" for a closing text, which
// the stage captions already say (and, as the catalogue has them, not always well spelled).
std::string itemOf(const std::string& caption) {
    size_t crlf = caption.find("\r\n");
    return crlf == std::string::npos ? "" : caption.substr(crlf + 2);
}

const char* buttonPrompt(Buttons b) {
    switch (b) {
        case Buttons::Ok: return "[Enter]";
        case Buttons::OkCancel: return "[o]k/[c]ancel";
        case Buttons::AbortRetryIgnore: return "[a]bort/[r]etry/[i]gnore";
        case Buttons::YesNoCancel: return "[y]es/[n]o/[c]ancel";
        case Buttons::YesNo: return "[y]es/[n]o";
        case Buttons::RetryCancel: return "[r]etry/[c]ancel";
    }
    return "";
}

// The answer a typed letter gives, if any.
std::optional<Answer> answerFor(Buttons buttons, char c) {
    switch (buttons) {
        case Buttons::Ok: return Answer::Ok;
        case Buttons::OkCancel:
            if (c == 'o' || c == 'y') return Answer::Ok;
            if (c == 'c' || c == 'n') return Answer::Cancel;
            break;
        case Buttons::AbortRetryIgnore:
            if (c == 'a') return Answer::Abort;
            if (c == 'r') return Answer::Retry;
            if (c == 'i') return Answer::Ignore;
            break;
        case Buttons::YesNoCancel:
            if (c == 'c') return Answer::Cancel;
            [[fallthrough]];
        case Buttons::YesNo:
            if (c == 'y') return Answer::Yes;
            if (c == 'n') return Answer::No;
            break;
        case Buttons::RetryCancel:
            if (c == 'r') return Answer::Retry;
            if (c == 'c') return Answer::Cancel;
            break;
    }
    return std::nullopt;
}

// Live Update texts that only count up, by their fixed start.
std::string countingKind(const std::string& t) {
    for (const char* prefix : {"Downloaded ", "Removing outdated definitions: checking entry "})
        if (t.rfind(prefix, 0) == 0) return prefix;
    return {};
}

}  // namespace

CliHost::CliHost() : m_tty(::isatty(2) && ::isatty(0)), m_stdoutTty(::isatty(1)) {
#ifdef _WIN32
    std::signal(SIGINT, onInterrupt);  // the C runtime calls it from the console's control handler
#else
    struct sigaction sa {};
    sa.sa_handler = onInterrupt;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, nullptr);
#endif
}

CliHost::~CliHost() {
    flushUpdateLine();
    finishProgressLine();
    std::signal(SIGINT, SIG_DFL);
}

bool CliHost::stopRequested() { return g_stops > 0; }
void CliHost::clearStop() { g_stops = 0; }

void CliHost::yield() {
    if (onYield) onYield();
}

Answer CliHost::ask(const Question& q) {
    finishProgressLine();
    flushUpdateLine();
    // Line breaks of the text stay; control characters of names in it are escaped.
    std::string body;
    for (const auto& line : text::split(q.text, "\r\n")) body += (body.empty() ? "" : "\n") + shown(line);
    std::string title = shown(q.title);
    if (q.buttons == Buttons::Ok) {
        if (!quiet) std::cerr << title << ": " << body << "\n";
        return Answer::Ok;
    }
    // Consent to send data is a person's own answer: --yes does not give it.
    if (assumeYes && q.kind != QuestionKind::AllowAnonymousData) {
        if (!quiet) std::cerr << title << ": " << body << " -> yes\n";
        return agreeingAnswer(q.buttons);
    }
    if (!m_tty) {
        std::cerr << title << ": " << body << " -> no (not a terminal; use --yes to agree)\n";
        return safeAnswer(q.buttons);
    }
    while (true) {
        std::cerr << title << ": " << body << " " << buttonPrompt(q.buttons) << " ";
        std::string line;
        if (!std::getline(std::cin, line)) return safeAnswer(q.buttons);
        if (auto a = answerFor(q.buttons, line.empty() ? '\n' : text::lowerChar(line[0]))) return *a;
    }
}

void CliHost::onScanStageStarted(const ScanStageStarted& event) { showStage(utf8Line(event.caption)); }

void CliHost::onScanProgress(const ScanProgress& event) {
    showStage(utf8Line(event.stageCaption));
    showItem(utf8Line(itemOf(event.caption)), event.overallPercent);
}

void CliHost::onRemovalProgress(const RemovalProgress& event) {
    if (quiet || !showProgress || !m_tty) return;  // a log gets the outcome, not the bar
    m_stage = utf8Line(event.caption);
    m_item = utf8Line(event.item);
    m_overall = event.percent;
    draw();
}

void CliHost::onUpdateProgress(const UpdateProgress& event) {
    // The closing texts are the update command's own output.
    if (quiet || event.phase == UpdatePhase::Installed || event.phase == UpdatePhase::Finished) return;
    if (!event.text.empty()) updateLine(shown(event.text));
}

void CliHost::onNotice(const Notice& notice) {
    // Information notices repeat what a command prints as its result.
    if (notice.kind == NoticeKind::Info) return;
    finishProgressLine();
    std::cerr << "vedozer: " << (notice.kind == NoticeKind::Error ? "error: " : "warning: ")
              << utf8Line(notice.text) << "\n";
}

void CliHost::showStage(const std::string& stage) {
    if (quiet || !showProgress || stage.empty() || stage == m_stage) return;
    m_stage = stage;
    if (m_tty) {
        draw();
    } else if (stage != m_lastPlain) {
        std::cerr << stage << "\n";
        m_lastPlain = stage;
    }
}

void CliHost::showItem(const std::string& item, int percent) {
    if (quiet || !showProgress) return;
    m_item = item;
    m_overall = percent;
    if (m_tty) draw();
}

void CliHost::draw() {
    constexpr int kWidth = 30;
    int filled = std::max(0, std::min(kWidth, m_overall * kWidth / 100));
    std::string bar = "[" + std::string(filled, '#') + std::string(kWidth - filled, '.') + "]";
    std::string item = m_item;
    if (item.size() > 60) item = "..." + item.substr(item.size() - 57);
    std::fprintf(stderr, "\r\033[K%s %3d%% %s %s", bar.c_str(), m_overall, m_stage.c_str(), item.c_str());
    std::fflush(stderr);
    m_lineOpen = true;
}

void CliHost::finishProgressLine() {
    if (m_lineOpen) {
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
        m_lineOpen = false;
    }
}

void CliHost::updateLine(const std::string& t) {
    std::string kind = countingKind(t);
    if (!kind.empty()) {
        if (kind != m_pendingKind) flushUpdateLine();
        m_pendingKind = kind;
        m_pending = t;
        if (m_stdoutTty) std::cout << "\r\033[K" << t << std::flush;
        return;
    }
    flushUpdateLine();
    if (t != m_lastUpdate) std::cout << t << "\n" << std::flush;
    m_lastUpdate = t;
}

void CliHost::flushUpdateLine() {
    if (!m_pending.empty()) {
        if (m_stdoutTty) std::cout << "\r\033[K";
        std::cout << m_pending << "\n" << std::flush;
        m_lastUpdate = m_pending;
    }
    m_pending.clear();
    m_pendingKind.clear();
}

}  // namespace vedozer::cli
