#include "cli/CliContext.h"

#include <CLI/CLI.hpp>

#include <cstdlib>
#include <iostream>

#include "app/Session.h"
#include "cli/CliHost.h"
#include "cli/CliBackend.h"
#include "cli/Json.h"
#include "cli/TargetAdvice.h"
#include "cli/Terminal.h"
#include "text/Text.h"

namespace vedozer::cli {

CliContext::CliContext() : m_host(std::make_unique<CliHost>()) {}
CliContext::~CliContext() {
    if (m_session) m_session->shutDown();
}

void CliContext::addGlobalOptions(CLI::App& app) {
    const char* group = "Global options (before or after the command)";
    app.add_option("--target", target, "System drive (C:) of the offline Windows installation: the folder that "
                                       "holds Windows\\")
        ->group(group);
    app.add_option("--drive", drives, "Another drive of the installation, as L=DIR")->group(group);
    app.add_option("--user", user, "User profile to scan (default: the only profile in the image)")->group(group);
    app.add_option("--data-dir", dataDir, "Program data folder (default $XDG_DATA_HOME/RozaVedozerEZO)")
        ->group(group);
    app.add_option("--config-dir", configDir, "Folder of the per-user settings (default $XDG_CONFIG_HOME)")
        ->group(group);
    app.add_option("--machine-config-dir", machineConfigDir, "Folder of the machine-wide settings")->group(group);
    app.add_option("--language", language,
                   "Language of the messages for this run, a name from Localization.txt (default: the one LANG "
                   "names when the file has it, else the saved language)")
        ->group(group);
    for (CLI::App* sub : app.get_subcommands({})) addGlobalOptions(*sub);
}

void CliContext::run(const std::function<int()>& body) {
    try {
        exitCode = body();
    } catch (const std::exception& e) {
        // Our messages may run over several lines; what they quote is escaped line by line.
        std::string message;
        for (const auto& line : text::split(e.what(), "\n")) message += (message.empty() ? "" : "\n") + shownUtf8(line);
        std::cerr << "vedozer: error: " << message << "\n";
        exitCode = kExitError;
        if (jsonOnStdout) {
            std::cout.flush();
            JsonWriter json(std::cout);
            json.beginObject()
                .utf8("schema", "vedozer.error/1")
                .utf8("command", commandName)
                .utf8("error", e.what())
                .number("exitCode", exitCode)
                .endObject();
        }
    }
}

BackendPlatform& CliContext::platform() {
#ifdef _WIN32
    if (!m_platform) {
        if (!target.empty() || !drives.empty() || !user.empty())
            throw CliError("--target, --drive and --user are for offline installations; on Windows the running "
                           "system is scanned");
        Win32Config config;
        config.dataFolder = dataDir;
        std::string error;
        m_platform = Win32Platform::create(config, error);
        if (!m_platform) throw CliError(error);
    }
    return *m_platform;
#else
    if (!m_platform) {
        ImageConfig config;
        config.systemDrive = target;
        for (const auto& d : drives) {
            if (d.size() < 3 || d[1] != '=' || !std::isalpha(static_cast<unsigned char>(d[0])))
                throw CliError("--drive expects L=DIR, got \"" + d + "\"");
            config.otherDrives[static_cast<char>(std::toupper(static_cast<unsigned char>(d[0])))] = d.substr(2);
        }
        config.user = user;
        config.dataFolder = dataDir;
        config.configDir = configDir;
        config.machineConfigDir = machineConfigDir;
        std::string error;
        m_platform = ImagePlatform::create(config, error);
        if (!m_platform) throw CliError(error + adviceForTarget(target));
    }
    return *m_platform;
#endif
}

std::vector<std::string> CliContext::platformWarnings() { return platform().warnings(); }

}  // namespace vedozer::cli

namespace vedozer::cli {

Session& CliContext::session(bool takeInstanceLock) {
    StartupOptions options;
    options.takeInstanceLock = takeInstanceLock;
    return startSession(options);
}

Session& CliContext::quietSession() { return startSession({.takeInstanceLock = false, .recordStatus = false}); }

Session& CliContext::startSession(const StartupOptions& options) {
    if (!m_session) {
        auto& p = platform();
        for (const auto& w : p.warnings()) std::cerr << "vedozer: warning: " << w << "\n";
#ifdef _WIN32
        m_session = std::make_unique<Session>(p.platform(), *m_host, p.identity());
#else
        m_session = std::make_unique<Session>(p.platform(), *m_host);
#endif
        // The command line speaks the language LANG names when the file has it, else the saved one.
        m_session->setRunLanguage(
            {language, messageLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"))});
        if (!m_session->startUp(options)) {
            m_session.reset();
            throw CliError("another instance of the program is running");
        }
    }
    return *m_session;
}

}  // namespace vedozer::cli
