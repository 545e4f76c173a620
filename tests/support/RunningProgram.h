#pragma once
// A program file of an offline image started on this machine, for tests of the running-program
// checks (Linux only: the image backend maps /proc onto the image's drives).
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

extern char** environ;

namespace vedozer::test {

// Started with the argument "60" (a copy of sleep runs a minute); killed and reaped at the end.
class RunningProgram {
public:
    // A trailer is appended to the file first (a version resource, say).
    explicit RunningProgram(const std::filesystem::path& program, const std::string& trailer = "") {
        namespace fs = std::filesystem;
        if (!trailer.empty()) std::ofstream(program, std::ios::app | std::ios::binary) << trailer;
        fs::permissions(program, fs::perms::owner_all);
        std::string p = program.string();
        char* argv[] = {p.data(), const_cast<char*>("60"), nullptr};
        if (posix_spawn(&m_pid, p.c_str(), nullptr, nullptr, argv, environ) != 0) m_pid = 0;
        // Started once its image is the file (not yet the spawning process).
        for (int i = 0; i < 200; ++i) {
            std::error_code ec;
            if (fs::read_symlink("/proc/" + std::to_string(m_pid) + "/exe", ec) == fs::canonical(program)) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    ~RunningProgram() { end(); }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    uint32_t id() const { return static_cast<uint32_t>(m_pid); }
    // The signal that ended it, waiting up to waitMillis for the end; 0 while it runs.
    int endedBy(int waitMillis = 1000) {
        for (int i = 0; i <= waitMillis / 10 && !m_reaped; ++i) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_reaped = true;
                m_signal = WIFSIGNALED(status) ? WTERMSIG(status) : -1;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
        return m_reaped ? m_signal : 0;
    }
    // Ends it now, as if it had quit by itself.
    void end() {
        if (m_pid <= 0 || m_reaped) return;
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_reaped = true;
        m_signal = SIGKILL;
    }

private:
    pid_t m_pid = 0;
    bool m_reaped = false;
    int m_signal = 0;
};

}  // namespace vedozer::test
