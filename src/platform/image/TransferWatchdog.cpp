#include "platform/image/TransferWatchdog.h"

namespace vedozer {

TransferWatchdog::TransferWatchdog(std::chrono::steady_clock::time_point deadline, bool enabled)
    : m_deadline(deadline) {
    if (enabled) m_thread = std::thread([this] { run(); });
}

TransferWatchdog::~TransferWatchdog() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_finished = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) m_thread.join();
}

void TransferWatchdog::watch(std::function<void()> stop) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stop = std::move(stop);
}

void TransferWatchdog::run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_wake.wait_until(lock, m_deadline, [this] { return m_finished; })) return;
    m_expired = true;
    while (!m_finished) {
        if (m_stop) m_stop();
        m_wake.wait_for(lock, std::chrono::milliseconds(50), [this] { return m_finished; });
    }
}

}  // namespace vedozer
