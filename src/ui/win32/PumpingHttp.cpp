#include "ui/win32/PumpingHttp.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "ui/win32/MessagePump.h"

namespace vedozer::win32ui {

namespace {

// What the worker and the window thread share; kept alive by whichever of them ends last.
struct Transfer {
    std::mutex lock;
    std::vector<std::pair<uint64_t, uint64_t>> progress;  // (received, total) not yet passed on
    bool cancelled = false;
    bool done = false;
    HttpResult result;
    HANDLE wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    ~Transfer() { CloseHandle(wake); }
};

}  // namespace

HttpResult PumpingHttp::get(const std::string& url, const HttpOptions& options, const HttpProgress& progress) {
    auto transfer = std::make_shared<Transfer>();
    Http& inner = m_inner;
    const bool reportsProgress = static_cast<bool>(progress);
    std::thread worker([transfer, &inner, url, options, reportsProgress] {
        HttpProgress relay;
        if (reportsProgress)
            relay = [transfer](uint64_t received, uint64_t total) {
                std::lock_guard<std::mutex> hold(transfer->lock);
                transfer->progress.emplace_back(received, total);
                SetEvent(transfer->wake);
                return !transfer->cancelled;
            };
        HttpResult result = inner.get(url, options, relay);
        std::lock_guard<std::mutex> hold(transfer->lock);
        transfer->result = std::move(result);
        transfer->done = true;
        SetEvent(transfer->wake);
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
        if (!pumpPendingMessages()) {
            // The program is closing: do not keep it waiting for a server that may never answer.
            worker.detach();
            HttpResult cancelled;
            cancelled.error = "the transfer was cancelled";
            return cancelled;
        }
        MsgWaitForMultipleObjects(1, &transfer->wake, FALSE, INFINITE, QS_ALLINPUT);
    }
    worker.join();
    std::lock_guard<std::mutex> hold(transfer->lock);
    return std::move(transfer->result);
}

}  // namespace vedozer::win32ui
