#include "platform/image/HostServices.h"

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <thread>


namespace vedozer {

bool XdgShell::open(const std::string& path) {
    // Double fork so the handler is not our child and needs no reaping.
    pid_t pid = ::fork();
    if (pid < 0) return false;
    if (pid == 0) {
        pid_t grandchild = ::fork();
        if (grandchild == 0) {
            ::setsid();
            const char* argv[] = {"xdg-open", path.c_str(), nullptr};
            ::execvp("xdg-open", const_cast<char**>(argv));
            ::_exit(127);
        }
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

LocalTime SystemClock::now() {
    std::time_t t = std::time(nullptr);
    std::tm tm {};
    ::localtime_r(&t, &tm);
    LocalTime lt;
    lt.year = tm.tm_year + 1900;
    lt.month = tm.tm_mon + 1;
    lt.day = tm.tm_mday;
    lt.hour = tm.tm_hour;
    lt.minute = tm.tm_min;
    lt.second = tm.tm_sec;
    lt.weekday = tm.tm_wday;
    return lt;
}

uint64_t SystemClock::millis() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

void SystemClock::sleepMillis(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace vedozer
