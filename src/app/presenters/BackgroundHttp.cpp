#include "app/presenters/BackgroundHttp.h"

#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace vedozer {

namespace {

// What the worker and the window thread share; kept alive by whichever of them ends last.
struct Transfer {
    std::mutex lock;
    std::vector<std::pair<uint64_t, uint64_t>> progress;  // (received, total) not passed on yet
    bool cancelled = false;
    bool done = false;
    HttpResult result;
    EventWait* waiter = nullptr;  // cleared, under the lock, before the window thread moves on

    void wakeLocked() {
        if (waiter) waiter->wake();
    }
};

HttpResult cancelledResult() {
    HttpResult r;
    r.error = "the transfer was cancelled";
    return r;
}

}  // namespace

HttpResult BackgroundHttp::get(const std::string& url, const HttpOptions& options, const HttpProgress& progress) {
    std::unique_ptr<EventWait> waiter = m_makeWait ? m_makeWait() : nullptr;
    if (!waiter) return cancelledResult();

    auto transfer = std::make_shared<Transfer>();
    transfer->waiter = waiter.get();
    Http& inner = m_inner;
    const bool reportsProgress = static_cast<bool>(progress);
    auto left = m_left;
    ++*left;
    std::thread worker([transfer, &inner, url, options, reportsProgress, left] {
        HttpProgress relay;
        if (reportsProgress)
            relay = [transfer](uint64_t received, uint64_t total) {
                std::lock_guard<std::mutex> hold(transfer->lock);
                transfer->progress.emplace_back(received, total);
                transfer->wakeLocked();
                return !transfer->cancelled;
            };
        HttpResult result = inner.get(url, options, relay);
        {
            std::lock_guard<std::mutex> hold(transfer->lock);
            transfer->result = std::move(result);
            transfer->done = true;
            transfer->wakeLocked();
        }
        --*left;
    });

    for (;;) {
        std::vector<std::pair<uint64_t, uint64_t>> pending;
        bool done;
        {
            std::lock_guard<std::mutex> hold(transfer->lock);
            pending.swap(transfer->progress);
            done = transfer->done;
        }
        for (const auto& [received, total] : pending)
            if (progress && !progress(received, total)) {
                std::lock_guard<std::mutex> hold(transfer->lock);
                transfer->cancelled = true;
            }
        if (done) break;
        {
            // The callbacks above may have turned the event loop and used up a wake-up meant for
            // the wait below: look again before waiting.
            std::lock_guard<std::mutex> hold(transfer->lock);
            if (transfer->done || !transfer->progress.empty()) continue;
        }
        if (!waiter->wait()) break;  // the program is closing
    }
    {
        std::lock_guard<std::mutex> hold(transfer->lock);
        transfer->waiter = nullptr;
        if (!transfer->done) {
            // Closing: do not keep the program waiting for a server that may never answer.
            transfer->cancelled = true;
            worker.detach();
            return cancelledResult();
        }
    }
    worker.join();
    return std::move(transfer->result);
}

}  // namespace vedozer
