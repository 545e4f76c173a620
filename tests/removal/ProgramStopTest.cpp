#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <filesystem>
#include <thread>

#include "removal/RemovalSession.h"
#include "removal/WorkListChecks.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;
using test::RemovalSession;

std::string sleepBinary() {
    for (const char* p : {"/bin/sleep", "/usr/bin/sleep"})
        if (fs::exists(p)) return p;
    return "";
}

// A child running a program file; reaped in the background so that an ended one is gone.
struct RunningProgram {
    pid_t pid = -1;
    std::thread reaper;
    std::atomic<bool> ended{false};
    explicit RunningProgram(const std::string& path) {
        pid = ::fork();
        if (pid == 0) {
            ::execl(path.c_str(), "ad.exe", "60", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        reaper = std::thread([this] {
            int status = 0;
            ::waitpid(pid, &status, 0);
            ended = true;
        });
    }
    ~RunningProgram() {
        if (!ended) ::kill(pid, SIGKILL);
        reaper.join();
    }
    bool running() const { return !ended; }
};

bool waitUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 300 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return done();
}

TEST(ProgramStop, ARunningProgramAtTheDetectedPathIsStoppedBeforeItsFileIsRemoved) {
    std::string sleep = sleepBinary();
    if (sleep.empty()) GTEST_SKIP() << "no sleep program";
    RemovalSession s;
    std::string program = test::readHostFile(sleep);
    // A namesake in another folder of the same system starts first, so it comes first in the list.
    auto other = s.write("Windows/ad.exe", program);
    auto detected = s.write("Program Files/Ad/ad.exe", program);
    fs::permissions(other, fs::perms::owner_exec, fs::perm_options::add);
    fs::permissions(detected, fs::perms::owner_exec, fs::perm_options::add);
    RunningProgram namesake(other.string());
    RunningProgram adware(detected.string());
    ASSERT_TRUE(waitUntil([&] { return s.processes.mainModulePath(adware.pid) == "C:\\Program Files\\Ad\\ad.exe"; }));
    ASSERT_TRUE(waitUntil([&] { return s.processes.mainModulePath(namesake.pid) == "C:\\Windows\\ad.exe"; }));

    s.detectFile("C:\\Program Files\\Ad\\ad.exe", "AdBuddy");
    selectAll(s.results);
    s.host.answer(Answer::Yes);
    s.removal->removeChecked();

    // Matching the file itself means the program was stopped while its file was still there:
    // once deleted, the running image no longer names that file.
    EXPECT_TRUE(waitUntil([&] { return !adware.running(); }));
    EXPECT_FALSE(s.exists("Program Files/Ad/ad.exe"));
    EXPECT_EQ(s.quarantined("ad.exe"), program);
    EXPECT_TRUE(namesake.running());
    EXPECT_TRUE(s.exists("Windows/ad.exe"));
    EXPECT_TRUE(s.removal->undeletable().empty());
}

TEST(ProgramStop, WithoutAPathTheFirstProgramOfThatNameIsStopped) {
    std::string sleep = sleepBinary();
    if (sleep.empty()) GTEST_SKIP() << "no sleep program";
    RemovalSession s;
    auto exe = s.write("Tools/verylongprogramname.exe", test::readHostFile(sleep));
    fs::permissions(exe, fs::perms::owner_exec, fs::perm_options::add);
    RunningProgram running(exe.string());
    ASSERT_TRUE(waitUntil(
        [&] { return s.processes.mainModulePath(running.pid) == "C:\\Tools\\verylongprogramname.exe"; }));
    EXPECT_TRUE(s.removal->stopProgram("nothing-runs-by-this-name.exe"));
    EXPECT_TRUE(running.running());
    EXPECT_TRUE(s.removal->stopProgram("VeryLongProgramName.exe"));
    EXPECT_TRUE(waitUntil([&] { return !running.running(); }));
}

}  // namespace
}  // namespace vedozer
