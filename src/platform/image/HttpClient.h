#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/Http.h"

namespace vedozer {

// HTTP and HTTPS GET with cpp-httplib: connect, read and whole-transfer time-outs, a cap on the
// body size, no caches, redirects followed, server certificates checked against the system's.
class HttpClient : public Http {
public:
    HttpResult get(const std::string& url, const HttpOptions& options, const HttpProgress& progress = {}) override;
};

struct HttpUrl {
    std::string scheme;  // "http" or "https", lower case
    std::string host;    // as written (an IPv6 address keeps its brackets)
    int port = 0;
    std::string target;  // path and query, encoded for the request line
};

// Splits an absolute http:// or https:// URL; nothing for anything else (other schemes,
// user names, bad ports, control characters in the host).
std::optional<HttpUrl> parseHttpUrl(std::string_view url);

// Percent-encodes the bytes a request line cannot carry (blanks, controls, bytes from 128 up,
// and " < > \ ^ ` { | }); "%" and everything else stay as written.
std::string encodeRequestTarget(std::string_view target);

}  // namespace vedozer
