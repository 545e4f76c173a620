#include "platform/win32/Win32Http.h"

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace vedozer {
namespace {

// Owns the session and the request handle. At the whole-transfer deadline another thread closes
// the session: WinInet ends a blocking call whose handle is closed, which is the only way to bound
// a reply whose status line and headers trickle in (each single read stays under the receive
// time-out). Closing the session closes the request handle with it.
class WatchedSession {
public:
    WatchedSession(HINTERNET session, std::chrono::steady_clock::time_point deadline, bool enabled)
        : m_session(session), m_deadline(deadline) {
        if (enabled) m_thread = std::thread([this] { run(); });
    }
    ~WatchedSession() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_finished = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable()) m_thread.join();
        if (!m_expired) {
            if (request) InternetCloseHandle(request);
            InternetCloseHandle(m_session);
        }
    }
    HINTERNET session() const { return m_session; }
    bool expired() const { return m_expired; }
    HINTERNET request = nullptr;

private:
    void run() {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_wake.wait_until(lock, m_deadline, [this] { return m_finished; })) return;
        m_expired = true;
        InternetCloseHandle(m_session);
    }

    HINTERNET m_session;
    std::chrono::steady_clock::time_point m_deadline;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_finished = false;
    std::atomic<bool> m_expired{false};
    std::thread m_thread;
};

std::string lastError(const std::string& url) {
    DWORD code = GetLastError();
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

}  // namespace

HttpResult Win32Http::get(const std::string& url, const HttpOptions& options, const HttpProgress& progress) {
    HttpResult result;
    if (url.rfind("http://", 0) != 0 && url.rfind("https://", 0) != 0) {
        result.error = "not an http:// or https:// address: " + url;
        return result;
    }
    HINTERNET session = InternetOpenA(options.userAgent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!session) {
        result.error = lastError(url);
        return result;
    }
    DWORD connectMs = static_cast<DWORD>(options.connectTimeoutSeconds) * 1000;
    DWORD readMs = static_cast<DWORD>(options.readTimeoutSeconds) * 1000;
    InternetSetOptionA(session, INTERNET_OPTION_CONNECT_TIMEOUT, &connectMs, sizeof connectMs);
    InternetSetOptionA(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &readMs, sizeof readMs);
    InternetSetOptionA(session, INTERNET_OPTION_SEND_TIMEOUT, &readMs, sizeof readMs);

    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                        INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options.totalTimeoutSeconds);
    const bool hasDeadline = options.totalTimeoutSeconds > 0;
    const std::string tooSlow =
        "the transfer took longer than " + std::to_string(options.totalTimeoutSeconds) + " seconds";
    WatchedSession watched(session, deadline, hasDeadline);
    watched.request = InternetOpenUrlA(session, url.c_str(), nullptr, 0, flags, 0);
    if (!watched.request) {
        result.error = watched.expired() ? tooSlow : lastError(url);
        return result;
    }
    result.status = static_cast<int>(queryNumber(watched.request, HTTP_QUERY_STATUS_CODE));
    uint64_t announced = queryNumber(watched.request, HTTP_QUERY_CONTENT_LENGTH);
    if (announced > options.maxBytes) {
        result.error = "the reply is larger than " + std::to_string(options.maxBytes) + " bytes";
        return result;
    }
    std::string body;
    body.reserve(static_cast<size_t>(announced));
    for (;;) {
        char block[256];
        DWORD got = 0;
        if (!InternetReadFile(watched.request, block, sizeof block, &got)) {
            result.error = watched.expired() ? tooSlow : lastError(url);
            return result;
        }
        if (watched.expired()) {
            result.error = tooSlow;
            return result;
        }
        if (got == 0) break;
        if (body.size() + got > options.maxBytes) {
            result.error = "the reply is larger than " + std::to_string(options.maxBytes) + " bytes";
            return result;
        }
        body.append(block, got);
        if (hasDeadline && std::chrono::steady_clock::now() > deadline) {
            result.error = tooSlow;
            return result;
        }
        if (progress && !progress(body.size(), announced)) {
            result.error = "the transfer was cancelled";
            return result;
        }
    }
    // WinInet reports a connection closed early as a normal end: the announced length tells.
    if (announced > 0 && body.size() != announced) {
        result.error = "the reply from " + url + " broke off after " + std::to_string(body.size()) + " of " +
                       std::to_string(announced) + " bytes";
        return result;
    }
    result.ok = true;
    result.body = std::move(body);
    return result;
}

}  // namespace vedozer
