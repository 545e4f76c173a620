#pragma once
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "protection/BackgroundTimers.h"
#include "protection/MemoryShield.h"
#include "scan/ScanImage.h"

extern char** environ;

namespace vedozer::test {

// A program of the image started on this machine (a copy of sleep); killed and reaped at the end.
class RunningProgram {
public:
    explicit RunningProgram(const std::filesystem::path& program) {
        namespace fs = std::filesystem;
        fs::permissions(program, fs::perms::owner_all);
        std::string p = program.string();
        char* argv[] = {p.data(), const_cast<char*>("60"), nullptr};
        if (posix_spawn(&m_pid, p.c_str(), nullptr, nullptr, argv, environ) != 0) m_pid = 0;
        for (int i = 0; i < 200; ++i) {
            std::error_code ec;
            if (fs::read_symlink("/proc/" + std::to_string(m_pid) + "/exe", ec) == fs::canonical(program)) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    ~RunningProgram() { end(); }
    uint32_t id() const { return static_cast<uint32_t>(m_pid); }
    // The signal that ended it, waiting up to waitMillis; 0 while it runs.
    int endedBy(int waitMillis = 1000) {
        for (int i = 0; i <= waitMillis / 10; ++i) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_reaped = true;
                m_signal = WIFSIGNALED(status) ? WTERMSIG(status) : -1;
            }
            if (m_reaped) return m_signal;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return 0;
    }
    void end() {
        if (m_pid > 0 && !m_reaped) {
            ::kill(m_pid, SIGKILL);
            int status = 0;
            ::waitpid(m_pid, &status, 0);
            m_reaped = true;
            m_signal = SIGKILL;
        }
    }

private:
    pid_t m_pid = 0;
    bool m_reaped = false;
    int m_signal = 0;
};

// An offline system with the memory shield over it: the session's lists as a scan leaves them,
// the protection timers, and programs placed on drive C.
struct ShieldImage {
    ScanImage img;
    BackgroundTimers timers{*img.settings};
    ScanCounters shieldCounters;
    ScanMonitor shieldMonitor;
    bool shieldStop = false;
    MemoryShield shield{timers, [this] {
                            return ScanContext{img.platform(), img.definitions, img.exclusions, img.safeList,
                                               *img.settings,  img.languages,   img.host,       shieldStop,
                                               img.results,    shieldCounters,  shieldMonitor};
                        }};

    ShieldImage() {
        timers.setWindowState(WindowState::Tray);
        timers.set(true);
    }
    // A copy of sleep at a path below C:\ ("Program Files/Bad/bad.exe").
    std::filesystem::path program(const std::string& relative) {
        std::filesystem::path p = img.drive + "/" + relative;
        std::filesystem::create_directories(p.parent_path());
        std::filesystem::copy_file("/bin/sleep", p, std::filesystem::copy_options::overwrite_existing);
        return p;
    }
    // The executable definitions, counted and the exclusion list loaded, as at start-up.
    void definitions(const std::vector<std::string>& lines) {
        img.definitionFile(kExeDefinitionFile, lines);
        CountDefinitions(*img.platform().dataFiles, img.definitions);
        LoadExclusions(img.exclusions, *img.platform().dataFiles, img.definitions.dataFolder);
    }
    std::string exclusionFile() {
        auto p = img.data + "/ENoSignature.dat";
        return std::filesystem::exists(p) ? readHostFile(p) : std::string();
    }
};

}  // namespace vedozer::test
