#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

namespace vedozer::test {

// A vedozer-defserver started for a test on 127.0.0.1 and a free port, stopped on destruction.
class DefServerProcess {
public:
    // Starts binary --repo repo --port 0 --bind 127.0.0.1 [--submissions file] and waits for the
    // line that names its address. Fails the current test when it does not start.
    DefServerProcess(const std::string& binary, const std::string& repo, const std::string& submissions = "");
    // Starts binary with these arguments and --port 0 --bind 127.0.0.1 (unless they name a port).
    DefServerProcess(const std::string& binary, std::vector<std::string> arguments);
    ~DefServerProcess();
    DefServerProcess(const DefServerProcess&) = delete;
    DefServerProcess& operator=(const DefServerProcess&) = delete;

    bool running() const { return m_pid > 0 && m_port > 0; }
    int port() const { return m_port; }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    // The request log the server wrote to stderr so far.
    std::string log() const;
    // Sends SIGTERM and returns the exit status (-1 when it did not end normally).
    int stop();

private:
    void start(const std::string& binary, std::vector<std::string> args);

    pid_t m_pid = -1;
    int m_port = 0;
    std::string m_logFile;
};

struct ProcessRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};
// Runs a program to its end (killed after timeoutSeconds) and collects its output.
ProcessRun runProcess(const std::vector<std::string>& argv, int timeoutSeconds = 30);

// A port on 127.0.0.1 that nothing listens on (bound and released).
int unusedPort();

}  // namespace vedozer::test
