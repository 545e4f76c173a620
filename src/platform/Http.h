#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace vedozer {

struct HttpOptions {
    int connectTimeoutSeconds = 15;
    int readTimeoutSeconds = 30;      // longest wait for the next bytes
    int totalTimeoutSeconds = 600;    // the whole transfer, however steadily bytes trickle in
    uint64_t maxBytes = 64ull * 1024 * 1024;
    std::string userAgent = "Mozilla";
};

struct HttpResult {
    bool ok = false;        // a complete reply arrived
    int status = 0;         // HTTP status, 0 when none
    std::string body;
    std::string error;      // why it failed, for people
};

// Called with bytes received so far and the announced length (0 when unknown);
// returning false cancels the transfer.
using HttpProgress = std::function<bool(uint64_t received, uint64_t total)>;

class Http {
public:
    virtual ~Http() = default;
    virtual HttpResult get(const std::string& url, const HttpOptions& options,
                           const HttpProgress& progress = {}) = 0;
};

}  // namespace vedozer
