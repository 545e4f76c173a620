#include "cli/CliHost.h"

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <iostream>

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

const char* buttonPrompt(MsgButtons b) {
    switch (b) {
        case MsgButtons::Ok: return "[Enter]";
        case MsgButtons::OkCancel: return "[o]k/[c]ancel";
        case MsgButtons::AbortRetryIgnore: return "[a]bort/[r]etry/[i]gnore";
        case MsgButtons::YesNoCancel: return "[y]es/[n]o/[c]ancel";
        case MsgButtons::YesNo: return "[y]es/[n]o";
        case MsgButtons::RetryCancel: return "[r]etry/[c]ancel";
    }
    return "";
}

MsgAnswer safeAnswer(MsgButtons b) {
    switch (b) {
        case MsgButtons::Ok: return MsgAnswer::Ok;
        case MsgButtons::OkCancel: return MsgAnswer::Cancel;
        case MsgButtons::AbortRetryIgnore: return MsgAnswer::Abort;
        case MsgButtons::YesNoCancel: return MsgAnswer::Cancel;
        case MsgButtons::YesNo: return MsgAnswer::No;
        case MsgButtons::RetryCancel: return MsgAnswer::Cancel;
    }
    return MsgAnswer::Cancel;
}

MsgAnswer yesAnswer(MsgButtons b) {
    switch (b) {
        case MsgButtons::Ok: return MsgAnswer::Ok;
        case MsgButtons::OkCancel: return MsgAnswer::Ok;
        case MsgButtons::AbortRetryIgnore: return MsgAnswer::Ignore;
        case MsgButtons::YesNoCancel:
        case MsgButtons::YesNo: return MsgAnswer::Yes;
        case MsgButtons::RetryCancel: return MsgAnswer::Cancel;
    }
    return MsgAnswer::Ok;
}

}  // namespace

CliHost::CliHost() : m_tty(::isatty(2) && ::isatty(0)) {
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
    finishProgressLine();
    std::signal(SIGINT, SIG_DFL);
}

bool CliHost::stopRequested() { return g_stops > 0; }
void CliHost::clearStop() { g_stops = 0; }

void CliHost::yield() {
    if (onYield) onYield();
}

MsgAnswer CliHost::messageBox(const std::string& textIn, const std::string& title, MsgButtons buttons,
                              MsgIcon icon) {
    finishProgressLine();
    (void)icon;
    std::string body = text::cp1252ToUtf8(textIn);
    if (buttons == MsgButtons::Ok) {
        if (!quiet) std::cerr << title << ": " << body << "\n";
        return MsgAnswer::Ok;
    }
    if (assumeYes) {
        if (!quiet) std::cerr << title << ": " << body << " -> yes\n";
        return yesAnswer(buttons);
    }
    if (!m_tty) {
        std::cerr << title << ": " << body << " -> no (not a terminal; use --yes to agree)\n";
        return safeAnswer(buttons);
    }
    while (true) {
        std::cerr << title << ": " << body << " " << buttonPrompt(buttons) << " ";
        std::string line;
        if (!std::getline(std::cin, line)) return safeAnswer(buttons);
        char c = line.empty() ? '\n' : text::lowerChar(line[0]);
        switch (buttons) {
            case MsgButtons::OkCancel:
                if (c == 'o' || c == 'y') return MsgAnswer::Ok;
                if (c == 'c' || c == 'n') return MsgAnswer::Cancel;
                break;
            case MsgButtons::AbortRetryIgnore:
                if (c == 'a') return MsgAnswer::Abort;
                if (c == 'r') return MsgAnswer::Retry;
                if (c == 'i') return MsgAnswer::Ignore;
                break;
            case MsgButtons::YesNoCancel:
                if (c == 'c') return MsgAnswer::Cancel;
                [[fallthrough]];
            case MsgButtons::YesNo:
                if (c == 'y') return MsgAnswer::Yes;
                if (c == 'n') return MsgAnswer::No;
                break;
            case MsgButtons::RetryCancel:
                if (c == 'r') return MsgAnswer::Retry;
                if (c == 'c') return MsgAnswer::Cancel;
                break;
            case MsgButtons::Ok: return MsgAnswer::Ok;
        }
    }
}

void CliHost::status(const std::string& channel, const std::string& textIn) {
    if (quiet || !showProgress) return;
    std::string t = oneLine(text::cp1252ToUtf8(textIn));
    if (channel == "lblPercentageCompleted" || channel == "stage") {
        m_stage = t;
    } else if (channel == "lblStatus" || channel == "update" || channel == "lblDeletingCaption") {
        m_item = t;
    } else {
        return;  // counters and other captions are shown in the summary
    }
    if (m_tty) {
        draw();
    } else if ((channel == "lblPercentageCompleted" || channel == "stage" || channel == "update") &&
               t != m_lastPlain && !t.empty()) {
        std::cerr << t << "\n";
        m_lastPlain = t;
    }
}

void CliHost::progress(const std::string& channel, int percent) {
    if (quiet || !showProgress) return;
    if (channel == "pb2" || channel == "overall") m_overall = percent;
    else m_percent = percent;
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

}  // namespace vedozer::cli
