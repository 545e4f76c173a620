#include "platform/win32/Win32Http.h"

#include <windows.h>
#include <wininet.h>

#include <chrono>

namespace vedozer {
namespace {

struct InetHandle {
    HINTERNET h = nullptr;
    explicit InetHandle(HINTERNET handle) : h(handle) {}
    ~InetHandle() {
        if (h) InternetCloseHandle(h);
    }
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
    InetHandle session(InternetOpenA(options.userAgent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session.h) {
        result.error = lastError(url);
        return result;
    }
    DWORD connectMs = static_cast<DWORD>(options.connectTimeoutSeconds) * 1000;
    DWORD readMs = static_cast<DWORD>(options.readTimeoutSeconds) * 1000;
    InternetSetOptionA(session.h, INTERNET_OPTION_CONNECT_TIMEOUT, &connectMs, sizeof connectMs);
    InternetSetOptionA(session.h, INTERNET_OPTION_RECEIVE_TIMEOUT, &readMs, sizeof readMs);
    InternetSetOptionA(session.h, INTERNET_OPTION_SEND_TIMEOUT, &readMs, sizeof readMs);

    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                        INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
    const auto started = std::chrono::steady_clock::now();
    const auto deadline = started + std::chrono::seconds(options.totalTimeoutSeconds);
    const bool hasDeadline = options.totalTimeoutSeconds > 0;
    InetHandle request(InternetOpenUrlA(session.h, url.c_str(), nullptr, 0, flags, 0));
    if (!request.h) {
        result.error = lastError(url);
        return result;
    }
    result.status = static_cast<int>(queryNumber(request.h, HTTP_QUERY_STATUS_CODE));
    uint64_t announced = queryNumber(request.h, HTTP_QUERY_CONTENT_LENGTH);
    if (announced > options.maxBytes) {
        result.error = "the reply is larger than " + std::to_string(options.maxBytes) + " bytes";
        return result;
    }
    std::string body;
    for (;;) {
        char block[256];
        DWORD got = 0;
        if (!InternetReadFile(request.h, block, sizeof block, &got)) {
            result.error = lastError(url);
            return result;
        }
        if (got == 0) break;
        if (body.size() + got > options.maxBytes) {
            result.error = "the reply is larger than " + std::to_string(options.maxBytes) + " bytes";
            return result;
        }
        body.append(block, got);
        if (hasDeadline && std::chrono::steady_clock::now() > deadline) {
            result.error = "the transfer took longer than " + std::to_string(options.totalTimeoutSeconds) + " seconds";
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
