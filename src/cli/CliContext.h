#pragma once
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace vedozer {
// The backend the program runs on: the live system on Windows, an offline image elsewhere.
#ifdef _WIN32
class Win32Platform;
using BackendPlatform = Win32Platform;
#else
class ImagePlatform;
using BackendPlatform = ImagePlatform;
#endif
class Session;
struct StartupOptions;
}

namespace vedozer::cli {

class CliHost;

constexpr int kExitOk = 0;
constexpr int kExitFound = 1;
constexpr int kExitError = 2;

// A failure the user must hear about; printed to stderr, exit code 2.
struct CliError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Global options and the lazily built backend and session shared by the subcommands.
struct CliContext {
    CliContext();
    ~CliContext();

    std::string dataDir;
    std::string configDir;
    std::string machineConfigDir;
    std::string target;
    std::vector<std::string> drives;  // "D=/mnt/d"
    std::string user;
    std::string language;  // --language: this run's language, before LANG and the saved one
    int exitCode = kExitOk;
    // Set by a command whose JSON goes to stdout: an error then prints a JSON object there too.
    bool jsonOnStdout = false;
    std::string commandName;  // "scan", "quarantine list" ... for that object

    // The global options, on the program and on every subcommand (so they go before or after the
    // subcommand, and each subcommand's --help lists them).
    void addGlobalOptions(CLI::App& app);
    // Runs a subcommand body: exceptions become a message on stderr and exit code 2.
    void run(const std::function<int()>& body);

#ifdef _WIN32
    bool hasTarget() const { return true; }  // the running system
#else
    bool hasTarget() const { return !target.empty(); }
#endif
    BackendPlatform& platform();
    // The session, started (status recorded, definitions counted, exclusions loaded). Commands
    // that change files take the instance lock.
    Session& session(bool takeInstanceLock = false);
    // A session that records nothing at start (for commands that only read or set settings).
    Session& quietSession();
    CliHost& host() { return *m_host; }
    // The backend's warnings about the installation (unreadable hives ...), also printed at start.
    std::vector<std::string> platformWarnings();

private:
    Session& startSession(const StartupOptions& options);

    std::unique_ptr<CliHost> m_host;
    std::unique_ptr<BackendPlatform> m_platform;
    std::unique_ptr<Session> m_session;
};

}  // namespace vedozer::cli
