#include "support/DefServerProcess.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

namespace vedozer::test {

namespace {

std::vector<char*> argvOf(std::vector<std::string>& args) {
    std::vector<char*> out;
    for (auto& a : args) out.push_back(a.data());
    out.push_back(nullptr);
    return out;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Waits for a child; kills it once the deadline has passed. Returns the exit code or -1.
int waitFor(pid_t pid, std::chrono::steady_clock::time_point deadline) {
    int status = 0;
    for (;;) {
        pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid) break;
        if (r < 0) return -1;
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

DefServerProcess::DefServerProcess(const std::string& binary, const std::string& repo, const std::string& submissions) {
    std::vector<std::string> args = {"--repo", repo};
    if (!submissions.empty()) {
        args.push_back("--submissions");
        args.push_back(submissions);
    }
    start(binary, std::move(args));
}

DefServerProcess::DefServerProcess(const std::string& binary, std::vector<std::string> arguments) {
    start(binary, std::move(arguments));
}

void DefServerProcess::start(const std::string& binary, std::vector<std::string> arguments) {
    if (::access(binary.c_str(), X_OK) != 0) {
        ADD_FAILURE() << binary << " is missing: build the vedozer-defserver target first";
        return;
    }
    char logTemplate[] = "/tmp/vedozer-defserver-log-XXXXXX";
    int logFd = ::mkstemp(logTemplate);
    m_logFile = logTemplate;
    int out[2];
    if (logFd < 0 || ::pipe(out) != 0) {
        ADD_FAILURE() << "cannot create the server's pipes";
        return;
    }
    std::vector<std::string> args = {binary};
    args.insert(args.end(), arguments.begin(), arguments.end());
    if (std::find(args.begin(), args.end(), "--port") == args.end()) {
        for (const char* a : {"--port", "0", "--bind", "127.0.0.1"}) args.push_back(a);
    }
    m_pid = ::fork();
    if (m_pid == 0) {
        ::dup2(out[1], 1);
        ::dup2(logFd, 2);
        ::close(out[0]);
        ::close(out[1]);
        ::close(logFd);
        auto argv = argvOf(args);
        ::execv(binary.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(logFd);
    std::string line;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd p{out[0], POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        char buf[256];
        ssize_t n = ::read(out[0], buf, sizeof buf);
        if (n <= 0) break;
        line.append(buf, static_cast<size_t>(n));
    }
    ::close(out[0]);
    size_t colon = line.rfind(':');
    if (colon != std::string::npos) m_port = std::atoi(line.c_str() + colon + 1);
    if (m_port <= 0) {
        ADD_FAILURE() << "vedozer-defserver did not start: " << line << readFile(m_logFile);
        stop();
    }
}

DefServerProcess::~DefServerProcess() {
    stop();
    if (!m_logFile.empty()) ::unlink(m_logFile.c_str());
}

std::string DefServerProcess::log() const { return readFile(m_logFile); }

int DefServerProcess::stop() {
    if (m_pid <= 0) return -1;
    ::kill(m_pid, SIGTERM);
    int code = waitFor(m_pid, std::chrono::steady_clock::now() + std::chrono::seconds(10));
    m_pid = -1;
    return code;
}

ProcessRun runProcess(const std::vector<std::string>& argvIn, int timeoutSeconds) {
    ProcessRun run;
    char outName[] = "/tmp/vedozer-run-out-XXXXXX";
    char errName[] = "/tmp/vedozer-run-err-XXXXXX";
    int outFd = ::mkstemp(outName);
    int errFd = ::mkstemp(errName);
    std::vector<std::string> args = argvIn;
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(outFd, 1);
        ::dup2(errFd, 2);
        auto argv = argvOf(args);
        ::execv(args[0].c_str(), argv.data());
        ::_exit(127);
    }
    ::close(outFd);
    ::close(errFd);
    run.exitCode = waitFor(pid, std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds));
    run.out = readFile(outName);
    run.err = readFile(errName);
    ::unlink(outName);
    ::unlink(errName);
    return run;
}

int unusedPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    int port = ntohs(addr.sin_port);
    ::close(fd);
    return port;
}

}  // namespace vedozer::test
