#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/image/ImageProcesses.h"
#include "support/TempDir.h"

extern char** environ;

namespace vedozer {
namespace {

namespace fs = std::filesystem;

// A child process that the test reaps itself (and kills if a check fails first).
class Child {
public:
    // With `talks`, the child's standard output comes to the test (see saidLine).
    explicit Child(const std::vector<std::string>& argv, bool talks = false) {
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        int out[2] = {-1, -1};
        if (talks && ::pipe(out) == 0) {
            posix_spawn_file_actions_adddup2(&actions, out[1], 1);
            posix_spawn_file_actions_addclose(&actions, out[0]);
        }
        if (posix_spawn(&m_pid, args[0], &actions, nullptr, args.data(), environ) != 0) m_pid = 0;
        posix_spawn_file_actions_destroy(&actions);
        if (out[1] >= 0) ::close(out[1]);
        m_out = out[0];
    }
    ~Child() {
        if (m_pid > 0 && !m_reaped) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0) ::close(m_out);
    }
    // Waits until the child has written the line (false when its output ends first).
    bool saidLine(const std::string& line) {
        std::string said;
        char c = 0;
        while (m_out >= 0 && ::read(m_out, &c, 1) == 1) {
            if (c != '\n') {
                said += c;
                continue;
            }
            if (said == line) return true;
            said.clear();
        }
        return false;
    }
    pid_t pid() const { return m_pid; }
    uint32_t id() const { return static_cast<uint32_t>(m_pid); }
    // The signal that ended it, 0 when it is still running after the wait.
    int reap(int waitMillis = 2000) {
        for (int i = 0; i < waitMillis / 10; ++i) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_reaped = true;
                return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return 0;
    }

private:
    pid_t m_pid = 0;
    bool m_reaped = false;
    int m_out = -1;
};

fs::path placeProgram(const test::TempDir& dir, const std::string& relative, const std::string& source) {
    fs::path target = dir.path() / relative;
    fs::create_directories(target.parent_path());
    fs::copy_file(source, target, fs::copy_options::overwrite_existing);
    fs::permissions(target, fs::perms::owner_all);
    return target;
}

// The process has replaced its image with the program (spawn returns right after exec,
// but make sure before looking).
void waitForExec(uint32_t pid, const std::string& hostPath) {
    for (int i = 0; i < 200; ++i) {
        std::error_code ec;
        if (fs::read_symlink("/proc/" + std::to_string(pid) + "/exe", ec) == fs::canonical(hostPath)) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

TEST(ImageProcesses, WindowsPathsForHostPathsUnderDriveRoots) {
    test::TempDir dir;
    fs::create_directories(dir.path() / "C" / "inner");
    ImageProcesses p({{'c', (dir.path() / "C").string()}, {'D', (dir.path() / "C" / "inner").string() + "/"}});
    std::string c = fs::canonical(dir.path() / "C").string();
    EXPECT_EQ(p.windowsPath(c + "/Program Files/Bad/bad.exe"), "C:\\Program Files\\Bad\\bad.exe");
    EXPECT_EQ(p.windowsPath(c), "C:\\");
    EXPECT_EQ(p.windowsPath(c + "/inner/x.exe"), "D:\\x.exe");  // the nested drive wins
    EXPECT_EQ(p.windowsPath(c + "x/y.exe"), c + "x/y.exe");      // a sibling folder is outside
    EXPECT_EQ(p.windowsPath("/usr/bin/sleep"), "/usr/bin/sleep");
    EXPECT_TRUE(p.insideImage(c + "/a"));
    EXPECT_FALSE(p.insideImage("/usr/bin/sleep"));
}

TEST(ImageProcesses, ProgramStartedFromTheImageIsListedAndEnded) {
    test::TempDir dir;
    fs::path exe = placeProgram(dir, "C/Program Files/Bad/bad.exe", "/bin/sleep");
    ImageProcesses processes({{'C', (dir.path() / "C").string()}});
    Child child({exe.string(), "60"});
    ASSERT_GT(child.pid(), 0);
    waitForExec(child.id(), exe.string());

    auto ids = processes.processIds();
    EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
    EXPECT_NE(std::find(ids.begin(), ids.end(), child.id()), ids.end());
    EXPECT_EQ(processes.mainModulePath(child.id()), "C:\\Program Files\\Bad\\bad.exe");
    EXPECT_EQ(processes.mainModuleBaseName(child.id()), "bad.exe");
    // Right after exec only the program is mapped; the loader maps the libraries a moment later.
    auto modules = processes.modulePaths(child.id());
    for (int i = 0; i < 200 && modules.size() < 2; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        modules = processes.modulePaths(child.id());
    }
    ASSERT_GE(modules.size(), 2u);  // the program and the libraries it maps
    EXPECT_EQ(modules[0], "C:\\Program Files\\Bad\\bad.exe");
    EXPECT_EQ(std::count(modules.begin(), modules.end(), modules[0]), 1);
    EXPECT_EQ(modules[1][0], '/');  // host libraries keep host paths

    auto snap = processes.snapshot();
    auto entry = std::find_if(snap.begin(), snap.end(), [&](const ProcessEntry& e) { return e.pid == child.id(); });
    ASSERT_NE(entry, snap.end());
    EXPECT_EQ(entry->exeFile, "bad.exe");
    EXPECT_FALSE(entry->outsideSystem);
    // The test itself runs from the host: it never passes for a program of the installation.
    auto self = std::find_if(snap.begin(), snap.end(),
                             [&](const ProcessEntry& e) { return e.pid == static_cast<uint32_t>(::getpid()); });
    ASSERT_NE(self, snap.end());
    EXPECT_TRUE(self->outsideSystem);
    EXPECT_TRUE(processes.enableDebugPrivilege());

    EXPECT_TRUE(processes.terminate(child.id(), 0));
    EXPECT_EQ(child.reap(), SIGTERM);
    EXPECT_FALSE(processes.terminate(child.id(), 0));  // gone now
}

TEST(ImageProcesses, ProgramIgnoringTheRequestIsForced) {
    test::TempDir dir;
    fs::path sh = placeProgram(dir, "C/Windows/stubborn.exe", "/bin/sh");
    ImageProcesses processes({{'C', (dir.path() / "C").string()}});
    processes.setTerminateWaitMillis(300);
    Child child({sh.string(), "-c", "trap '' TERM; echo trapped; while :; do sleep 1; done"}, /*talks=*/true);
    ASSERT_GT(child.pid(), 0);
    ASSERT_TRUE(child.saidLine("trapped"));  // the shell ignores the request from here on
    EXPECT_TRUE(processes.terminate(child.id(), 1));
    EXPECT_EQ(child.reap(), SIGKILL);
}

TEST(ImageProcesses, ProcessesOutsideTheImageKeepHostPathsAndAreNotEnded) {
    test::TempDir dir;
    fs::create_directories(dir.path() / "C");
    ImageProcesses processes({{'C', (dir.path() / "C").string()}});
    Child child({"/bin/sleep", "60"});
    ASSERT_GT(child.pid(), 0);
    waitForExec(child.id(), "/bin/sleep");
    EXPECT_EQ(processes.mainModulePath(child.id()), fs::canonical("/bin/sleep").string());
    EXPECT_FALSE(processes.terminate(child.id(), 0));
    EXPECT_EQ(child.reap(100), 0);  // still running
    EXPECT_FALSE(processes.terminate(static_cast<uint32_t>(::getpid()), 0));
    EXPECT_FALSE(processes.terminate(0, 0));
}

TEST(ImageProcesses, UnknownProcessGivesNothing) {
    ImageProcesses processes({});
    uint32_t unused = 4000000000u;
    EXPECT_EQ(processes.mainModulePath(unused), "");
    EXPECT_EQ(processes.mainModuleBaseName(unused), "");
    EXPECT_TRUE(processes.modulePaths(unused).empty());
    EXPECT_FALSE(processes.terminate(unused, 0));
}

}  // namespace
}  // namespace vedozer
