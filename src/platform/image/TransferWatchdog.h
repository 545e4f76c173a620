#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace vedozer {

// Stops the transfer in progress when the whole-transfer limit passes, whatever stage it is in:
// a server that trickles its status line or headers keeps every single read short, so only a
// clock of its own can end the wait. The stop runs on the watchdog's thread (cpp-httplib shuts
// the socket down, which ends the read in progress) and is repeated every 50 ms until the
// transfer returns, in case the first one came before the connection was open.
class TransferWatchdog {
public:
    TransferWatchdog(std::chrono::steady_clock::time_point deadline, bool enabled);
    ~TransferWatchdog();
    TransferWatchdog(const TransferWatchdog&) = delete;
    TransferWatchdog& operator=(const TransferWatchdog&) = delete;

    // How to stop the request under way (empty between requests).
    void watch(std::function<void()> stop);
    bool expired() const { return m_expired; }

private:
    void run();

    std::chrono::steady_clock::time_point m_deadline;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::function<void()> m_stop;
    bool m_finished = false;
    std::atomic<bool> m_expired{false};
    std::thread m_thread;
};

}  // namespace vedozer
