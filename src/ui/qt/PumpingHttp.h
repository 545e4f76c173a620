#pragma once
#include <atomic>
#include <memory>

#include "platform/Http.h"

namespace vedozer::qtui {

// The backend's HTTP client as the window uses it: the request runs on a worker thread while
// this thread keeps Qt's event loop turning, so the windows repaint and Cancel answers while a
// server takes its time. Progress reaches the caller on this thread. Once the program is
// closing (abandon()), a transfer still waiting is left to finish on its own and its caller
// hears that it was cancelled.
class PumpingHttp : public Http {
public:
    explicit PumpingHttp(Http& inner) : m_inner(inner) {}
    HttpResult get(const std::string& url, const HttpOptions& options, const HttpProgress& progress = {}) override;

    void abandon();
    // Transfers left running on their own: the backend they use must then outlive this process.
    bool transfersLeft() const { return *m_left > 0; }

private:
    Http& m_inner;
    bool m_abandoned = false;
    std::shared_ptr<std::atomic<int>> m_left = std::make_shared<std::atomic<int>>(0);
    struct Waiting;
    Waiting* m_waiting = nullptr;
};

}  // namespace vedozer::qtui
