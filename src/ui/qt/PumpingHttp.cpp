#include "ui/qt/PumpingHttp.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>

#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace vedozer::qtui {

namespace {

// What the worker and the window thread share; kept alive by whichever of them ends last.
struct Transfer {
    std::mutex lock;
    std::vector<std::pair<uint64_t, uint64_t>> progress;  // (received, total) not passed on yet
    bool cancelled = false;
    bool done = false;
    HttpResult result;
    QPointer<QEventLoop> loop;  // the window thread's wait, woken on news
};

void wake(const std::shared_ptr<Transfer>& t) {
    // Runs on the worker: the loop is told through its own thread's event queue.
    QPointer<QEventLoop> loop = t->loop;
    if (loop) QMetaObject::invokeMethod(loop.data(), "quit", Qt::QueuedConnection);
}

}  // namespace

struct PumpingHttp::Waiting {
    QEventLoop* loop;
};

HttpResult PumpingHttp::get(const std::string& url, const HttpOptions& options, const HttpProgress& progress) {
    HttpResult cancelled;
    cancelled.error = "the transfer was cancelled";
    if (m_abandoned) return cancelled;

    auto transfer = std::make_shared<Transfer>();
    QEventLoop loop;
    transfer->loop = &loop;
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
                wake(transfer);
                return !transfer->cancelled;
            };
        HttpResult result = inner.get(url, options, relay);
        std::lock_guard<std::mutex> hold(transfer->lock);
        transfer->result = std::move(result);
        transfer->done = true;
        wake(transfer);
        --*left;
    });

    Waiting waiting{&loop};
    Waiting* outer = std::exchange(m_waiting, &waiting);
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
        if (done || m_abandoned) break;
        {
            // The callbacks above may have turned the event loop and taken a wake-up meant for
            // the wait below: look again before waiting.
            std::lock_guard<std::mutex> hold(transfer->lock);
            if (transfer->done || !transfer->progress.empty()) continue;
        }
        loop.exec();  // until the worker has news, or the program closes
    }
    m_waiting = outer;
    {
        std::lock_guard<std::mutex> hold(transfer->lock);
        transfer->loop = nullptr;
        if (!transfer->done) {
            // The program is closing: do not keep it waiting for a server that may never answer.
            transfer->cancelled = true;
            worker.detach();
            return cancelled;
        }
    }
    worker.join();
    return std::move(transfer->result);
}

void PumpingHttp::abandon() {
    m_abandoned = true;
    if (m_waiting) m_waiting->loop->quit();
}

}  // namespace vedozer::qtui
