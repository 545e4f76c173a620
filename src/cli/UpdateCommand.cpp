// vedozer update [--server URL]: Live Update from the definition server.
#include <CLI/CLI.hpp>
#include <unistd.h>

#include <iostream>

#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CliHost.h"
#include "cli/CommandRegistry.h"
#include "cli/CliBackend.h"
#include "text/CodePage.h"
#include "update/LiveUpdate.h"
#include "update/UpdateUrls.h"
#include "BuildIdentity.h"

namespace vedozer::cli {
namespace {

// Prints the status texts of the update on stdout. Texts that only count up ("Downloaded N
// bytes.", "... checking entry N") are redrawn in place on a terminal and, in a log, only the
// last of each run is printed.
class UpdateStatusPrinter : public Host {
public:
    explicit UpdateStatusPrinter(Host& inner) : m_inner(inner), m_tty(::isatty(1)) {}
    ~UpdateStatusPrinter() override { flush(); }

    void yield() override { m_inner.yield(); }
    MsgAnswer messageBox(const std::string& text, const std::string& title, MsgButtons buttons, MsgIcon icon) override {
        flush();
        return m_inner.messageBox(text, title, buttons, icon);
    }
    void status(const std::string& channel, const std::string& textIn) override {
        if (channel != "txtStatus" || textIn.empty()) return;
        std::string t = text::cp1252ToUtf8(textIn);
        std::string kind = counterKind(t);
        if (!kind.empty()) {
            if (kind != m_pendingKind) flush();
            m_pendingKind = kind;
            m_pending = t;
            if (m_tty) {
                std::cout << "\r\033[K" << t << std::flush;
                m_lineOpen = true;
            }
            return;
        }
        flush();
        if (t != m_last) std::cout << t << "\n" << std::flush;
        m_last = t;
    }
    void flush() {
        if (!m_pending.empty()) {
            if (m_tty) std::cout << "\r\033[K";
            std::cout << m_pending << "\n" << std::flush;
            m_last = m_pending;
        }
        m_pending.clear();
        m_pendingKind.clear();
        m_lineOpen = false;
    }

private:
    static std::string counterKind(const std::string& t) {
        for (const char* prefix : {"Downloaded ", "Removing outdated definitions: checking entry "}) {
            if (t.rfind(prefix, 0) == 0) return prefix;
        }
        return {};
    }

    Host& m_inner;
    bool m_tty;
    bool m_lineOpen = false;
    std::string m_pending, m_pendingKind, m_last;
};

Http& httpOf(CliContext& context, std::unique_ptr<BackendHttp>& own) {
    if (Http* http = context.platform().platform().http) return *http;
    own = std::make_unique<BackendHttp>();
    return *own;
}

int runUpdate(CliContext& context, const std::string& serverOption) {
    Session& session = context.session(true);
    std::unique_ptr<BackendHttp> ownHttp;
    Http& http = httpOf(context, ownHttp);
    UpdateStatusPrinter printer(context.host());
    LiveUpdateContext live{http, session.dataFiles(), session.dataFolder(), printer, session.identity(),
                           definitionServerAddress(serverOption, &session.settings())};
    LiveUpdateReport report = RunLiveUpdate(live, session.settings(), session.languages(), session.definitions());
    printer.flush();
    std::cout << text::cp1252ToUtf8(report.message) << "\n";
    if (report.outcome == LiveUpdateOutcome::Updated) {
        std::cout << "Definitions: " << report.definitionTotal << ", dated " << report.check.newDate << " PST ("
                  << report.check.count << " changes)\n";
    }
    std::string problem = describeUpdateProblem(report.check);
    if (!problem.empty()) std::cerr << "vedozer: " << text::cp1252ToUtf8(problem) << " (" << live.server << ")\n";
    return liveUpdateExitCode(report);
}

struct UpdateArgs {
    std::string server;
};

Registration reg(40, [](CLI::App& app, CliContext& context) {
    auto args = std::make_shared<UpdateArgs>();
    auto* update = app.add_subcommand("update", "Live Update: fetch and install newer definitions from the server");
    update->add_option("--server", args->server,
                       "Definition server, e.g. http://127.0.0.1:8080 (default: setting Settings/DefinitionServer, "
                       "else " VEDOZER_BUILD_DEFAULT_SERVER ")");
    update->callback([&context, args] { context.run([&] { return runUpdate(context, args->server); }); });
});

}  // namespace
}  // namespace vedozer::cli
