#pragma once
#include <atomic>
#include <functional>
#include <memory>

#include "platform/Http.h"

namespace vedozer {

// How a desktop front end waits on its window thread without freezing its windows.
class EventWait {
public:
    virtual ~EventWait() = default;
    // Turns the thread's event loop until wake() was called (before or during this wait) or the
    // program is closing. False once it is closing.
    virtual bool wait() = 0;
    // Called from another thread.
    virtual void wake() = 0;
};

// The backend's HTTP client as a desktop uses it: each request runs on a worker thread while the
// window thread turns its event loop through an EventWait, so the windows repaint and Cancel
// answers while a server takes its time. Progress reaches the caller on the window thread. When
// the program closes meanwhile, the request is left to finish on its own and the caller hears it
// was cancelled.
class BackgroundHttp : public Http {
public:
    // makeWait gives the wait for one request, or nothing once the program is closing.
    using MakeWait = std::function<std::unique_ptr<EventWait>()>;
    BackgroundHttp(Http& inner, MakeWait makeWait) : m_inner(inner), m_makeWait(std::move(makeWait)) {}
    HttpResult get(const std::string& url, const HttpOptions& options, const HttpProgress& progress = {}) override;

    // Requests left running on their own: the client they use must then outlive this process.
    bool transfersLeft() const { return *m_left > 0; }

private:
    Http& m_inner;
    MakeWait m_makeWait;
    std::shared_ptr<std::atomic<int>> m_left = std::make_shared<std::atomic<int>>(0);
};

}  // namespace vedozer
