#include "platform/win32/Win32Http.h"

#include <windows.h>
#include <wininet.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vedozer {
namespace {

std::string lastError(DWORD code, const std::string& url) {
    switch (code) {
        case ERROR_INTERNET_TIMEOUT: return "no reply from " + url + " in time";
        case ERROR_INTERNET_CANNOT_CONNECT: return "cannot connect to " + url;
        case ERROR_INTERNET_NAME_NOT_RESOLVED: return "the server's name could not be resolved (" + url + ")";
        case ERROR_INTERNET_CONNECTION_RESET:
        case ERROR_INTERNET_CONNECTION_ABORTED: return "the reply from " + url + " broke off";
        case ERROR_INTERNET_UNRECOGNIZED_SCHEME:
        case ERROR_INTERNET_INVALID_URL: return "not an http:// or https:// address: " + url;
        default: return "the request to " + url + " failed (error " + std::to_string(code) + ")";
    }
}

uint64_t queryNumber(HINTERNET request, DWORD info) {
    DWORD value = 0, size = sizeof value;
    if (!HttpQueryInfoA(request, info | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr)) return 0;
    return value;
}

// One transfer, shared by the thread that runs WinInet's blocking calls and the caller that waits
// for it. WinInet's time-outs bound each single read only, so a server that trickles its status
// line and headers could hold a blocking call for as long as it likes; the caller therefore waits
// on a clock of its own and, when the whole-transfer limit passes, closes the session (the way
// WinInet cancels a blocking call) and returns, whether or not the call has ended yet. A worker
// that is still blocked then finishes on its own and touches nothing but this state.
struct Transfer {
    std::mutex mutex;
    std::condition_variable changed;
    HINTERNET session = nullptr;
    bool closed = false;         // the handles are closed (by either side)
    bool abandoned = false;      // the caller has gone: stop at the next chance
    bool done = false;
    std::string body;
    std::vector<uint64_t> blocks;  // the size received after each block not yet reported
    uint64_t announced = 0;
    int status = 0;
    std::string error;

    // Closes the session once (with it the request handle).
    void close() {
        if (!closed && session) InternetCloseHandle(session);
        closed = true;
    }
};

void runTransfer(const std::shared_ptr<Transfer>& t, std::string url, HttpOptions options) {
    HINTERNET request = nullptr;
    auto finish = [&](std::string error) {
        std::lock_guard<std::mutex> lock(t->mutex);
        if (!t->abandoned && t->error.empty()) t->error = std::move(error);
        if (!t->closed && request) InternetCloseHandle(request);
        t->close();
        t->done = true;
        t->changed.notify_all();
    };
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                        INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
    request = InternetOpenUrlA(t->session, url.c_str(), nullptr, 0, flags, 0);
    if (!request) return finish(lastError(GetLastError(), url));
    const uint64_t announced = queryNumber(request, HTTP_QUERY_CONTENT_LENGTH);
    const int status = static_cast<int>(queryNumber(request, HTTP_QUERY_STATUS_CODE));
    const std::string tooLarge = "the reply is larger than " + std::to_string(options.maxBytes) + " bytes";
    {
        std::lock_guard<std::mutex> lock(t->mutex);
        t->status = status;
        t->announced = announced;
        if (announced <= options.maxBytes) t->body.reserve(static_cast<size_t>(announced));
    }
    if (announced > options.maxBytes) return finish(tooLarge);
    for (;;) {
        char block[256];
        DWORD got = 0;
        if (!InternetReadFile(request, block, sizeof block, &got)) return finish(lastError(GetLastError(), url));
        std::lock_guard<std::mutex> lock(t->mutex);
        if (t->abandoned || got == 0) break;
        if (t->body.size() + got > options.maxBytes) {
            t->error = tooLarge;
            break;
        }
        t->body.append(block, got);
        t->blocks.push_back(t->body.size());
        t->changed.notify_all();
    }
    // WinInet reports a connection closed early as a normal end: the announced length tells.
    std::string error;
    {
        std::lock_guard<std::mutex> lock(t->mutex);
        if (t->error.empty() && announced > 0 && t->body.size() != announced)
            error = "the reply from " + url + " broke off after " + std::to_string(t->body.size()) + " of " +
                    std::to_string(announced) + " bytes";
    }
    finish(error);
}

}  // namespace

HttpResult Win32Http::get(const std::string& url, const HttpOptions& options, const HttpProgress& progress) {
    HttpResult result;
    if (url.rfind("http://", 0) != 0 && url.rfind("https://", 0) != 0) {
        result.error = "not an http:// or https:// address: " + url;
        return result;
    }
    auto t = std::make_shared<Transfer>();
    t->session = InternetOpenA(options.userAgent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!t->session) {
        result.error = lastError(GetLastError(), url);
        return result;
    }
    DWORD connectMs = static_cast<DWORD>(options.connectTimeoutSeconds) * 1000;
    DWORD readMs = static_cast<DWORD>(options.readTimeoutSeconds) * 1000;
    InternetSetOptionA(t->session, INTERNET_OPTION_CONNECT_TIMEOUT, &connectMs, sizeof connectMs);
    InternetSetOptionA(t->session, INTERNET_OPTION_RECEIVE_TIMEOUT, &readMs, sizeof readMs);
    InternetSetOptionA(t->session, INTERNET_OPTION_SEND_TIMEOUT, &readMs, sizeof readMs);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options.totalTimeoutSeconds);
    const bool hasDeadline = options.totalTimeoutSeconds > 0;
    std::thread worker(runTransfer, t, url, options);

    // Progress is reported here, on the caller's thread, once per block received.
    std::unique_lock<std::mutex> lock(t->mutex);
    for (;;) {
        if (!progress) t->blocks.clear();
        while (!t->blocks.empty()) {
            std::vector<uint64_t> blocks;
            blocks.swap(t->blocks);
            const uint64_t announced = t->announced;
            lock.unlock();
            bool goOn = true;
            for (uint64_t received : blocks) goOn = goOn && progress(received, announced);
            lock.lock();
            if (!goOn) {
                t->error = "the transfer was cancelled";
                break;
            }
        }
        if (t->done || !t->error.empty()) break;
        if (hasDeadline && std::chrono::steady_clock::now() >= deadline) {
            t->error = "the transfer took longer than " + std::to_string(options.totalTimeoutSeconds) + " seconds";
            break;
        }
        if (hasDeadline)
            t->changed.wait_until(lock, deadline);
        else
            t->changed.wait(lock);
    }
    if (!t->done) {
        // Cut short: the worker is told to stop, its blocking call is cancelled where WinInet can.
        t->abandoned = true;
        t->close();
        lock.unlock();
        worker.detach();
    } else {
        lock.unlock();
        worker.join();
    }
    std::lock_guard<std::mutex> guard(t->mutex);
    result.status = t->status;
    if (!t->error.empty()) {
        result.error = t->error;
        return result;
    }
    result.ok = true;
    result.body = std::move(t->body);
    return result;
}

}  // namespace vedozer
