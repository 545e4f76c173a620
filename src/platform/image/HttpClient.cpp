#include "platform/image/HttpClient.h"

#include <httplib.h>

#include <chrono>
#include <cstdio>

#include "platform/image/TransferWatchdog.h"
#include "text/Text.h"

namespace vedozer {

namespace {

bool needsEscape(unsigned char c) {
    if (c <= 0x20 || c >= 0x7F) return true;
    switch (c) {
    case '"': case '<': case '>': case '\\': case '^': case '`': case '{': case '|': case '}':
        return true;
    default:
        return false;
    }
}

std::string describe(httplib::Error error, const HttpUrl& url, const HttpOptions& options) {
    const std::string where = url.host + ":" + std::to_string(url.port);
    switch (error) {
    case httplib::Error::Connection:
        return "cannot connect to " + where;
    case httplib::Error::ConnectionTimeout:
        return "no connection to " + where + " within " + std::to_string(options.connectTimeoutSeconds) + " seconds";
    case httplib::Error::Read:
        return "the reply from " + where + " broke off or stalled for " + std::to_string(options.readTimeoutSeconds) +
               " seconds";
    case httplib::Error::Write:
        return "the request could not be sent to " + where;
    case httplib::Error::ExceedRedirectCount:
        return "too many redirections";
    case httplib::Error::SSLConnection:
        return "no secure connection to " + where;
    case httplib::Error::SSLLoadingCerts:
        return "the system's certificates could not be loaded";
    case httplib::Error::SSLServerVerification:
        return "the certificate of " + where + " could not be verified";
    default:
        return httplib::to_string(error) + " (" + where + ")";
    }
}

}  // namespace

std::string encodeRequestTarget(std::string_view target) {
    std::string out;
    out.reserve(target.size());
    for (char ch : target) {
        auto c = static_cast<unsigned char>(ch);
        if (needsEscape(c)) {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        } else {
            out += ch;
        }
    }
    return out;
}

std::optional<HttpUrl> parseHttpUrl(std::string_view url) {
    HttpUrl u;
    size_t sep = url.find("://");
    if (sep == std::string_view::npos) return std::nullopt;
    u.scheme = text::toLower(url.substr(0, sep));
    if (u.scheme != "http" && u.scheme != "https") return std::nullopt;
    std::string_view rest = url.substr(sep + 3);
    size_t end = rest.find_first_of("/?#");
    std::string_view authority = rest.substr(0, end);
    std::string_view target = end == std::string_view::npos ? std::string_view() : rest.substr(end);
    if (authority.empty() || authority.find('@') != std::string_view::npos) return std::nullopt;
    std::string_view portText;
    if (authority.front() == '[') {
        size_t close = authority.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        u.host = std::string(authority.substr(0, close + 1));
        std::string_view after = authority.substr(close + 1);
        if (!after.empty()) {
            if (after.front() != ':') return std::nullopt;
            portText = after.substr(1);
        }
    } else {
        size_t colon = authority.find(':');
        u.host = std::string(authority.substr(0, colon));
        if (colon != std::string_view::npos) portText = authority.substr(colon + 1);
    }
    if (u.host.empty() || u.host == "[]") return std::nullopt;
    for (unsigned char c : u.host) {
        if (c <= 0x20 || c >= 0x7F) return std::nullopt;
    }
    u.port = u.scheme == "https" ? 443 : 80;
    if (!portText.empty()) {
        if (portText.size() > 5) return std::nullopt;
        int port = 0;
        for (char c : portText) {
            if (c < '0' || c > '9') return std::nullopt;
            port = port * 10 + (c - '0');
        }
        if (port < 1 || port > 65535) return std::nullopt;
        u.port = port;
    }
    target = target.substr(0, target.find('#'));
    std::string t(target);
    if (t.empty() || t.front() != '/') t.insert(t.begin(), '/');
    u.target = encodeRequestTarget(t);
    return u;
}

namespace {

constexpr int kMaxRedirects = 10;

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The address a Location header names, relative to the URL that answered with it.
std::string redirectTarget(const HttpUrl& from, const std::string& location) {
    if (parseHttpUrl(location)) return location;
    const std::string origin = from.scheme + "://" + from.host + ":" + std::to_string(from.port);
    if (location.rfind("//", 0) == 0) return from.scheme + ":" + location;
    if (!location.empty() && location.front() == '/') return origin + location;
    std::string base = from.target.substr(0, from.target.find('?'));
    return origin + base.substr(0, base.rfind('/') + 1) + location;
}

}  // namespace

HttpResult HttpClient::get(const std::string& url, const HttpOptions& options, const HttpProgress& progress) {
    HttpResult result;
    auto parsed = parseHttpUrl(url);
    if (!parsed) {
        result.error = "not an http:// or https:// address: " + url;
        return result;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options.totalTimeoutSeconds);
    const bool hasDeadline = options.totalTimeoutSeconds > 0;
    const std::string tooSlowText =
        "the transfer took longer than " + std::to_string(options.totalTimeoutSeconds) + " seconds";
    TransferWatchdog watchdog(deadline, hasDeadline);

    httplib::Headers headers = {{"User-Agent", options.userAgent},
                                {"Cache-Control", "no-cache"},
                                {"Pragma", "no-cache"}};
    uint64_t announced = 0;
    bool tooLarge = false, tooSlow = false, cancelled = false;
    std::string body;

    // Redirections are followed here rather than by cpp-httplib, so that every hop runs on a
    // client the watchdog can stop.
    for (int hop = 0;; ++hop) {
        httplib::Client client(parsed->scheme + "://" + parsed->host + ":" + std::to_string(parsed->port));
        if (!client.is_valid()) {
            result.error = "cannot use the address " + url;
            return result;
        }
        client.set_connection_timeout(options.connectTimeoutSeconds, 0);
        client.set_read_timeout(options.readTimeoutSeconds, 0);
        client.set_write_timeout(options.readTimeoutSeconds, 0);
        client.set_keep_alive(false);
        client.set_follow_location(false);
        client.set_url_encode(false);
        client.enable_server_certificate_verification(true);

        auto onResponse = [&](const httplib::Response& response) {
            body.clear();
            announced = 0;
            if (response.has_header("Content-Length")) {
                try {
                    announced = std::stoull(response.get_header_value("Content-Length"));
                } catch (...) {
                    announced = 0;
                }
            }
            if (announced > options.maxBytes) {
                tooLarge = true;
                return false;
            }
            // One allocation for a reply of known length, rather than doubling into it.
            if (!isRedirect(response.status)) body.reserve(static_cast<size_t>(announced));
            return true;
        };
        auto onContent = [&](const char* data, size_t length) {
            if (body.size() + length > options.maxBytes) {
                tooLarge = true;
                return false;
            }
            body.append(data, length);
            if (hasDeadline && std::chrono::steady_clock::now() > deadline) {
                tooSlow = true;
                return false;
            }
            if (progress && !progress(body.size(), announced)) {
                cancelled = true;
                return false;
            }
            return true;
        };

        if (watchdog.expired()) {
            result.error = tooSlowText;
            return result;
        }
        watchdog.watch([&client] { client.stop(); });
        auto response = client.Get(parsed->target, headers, onResponse, onContent);
        watchdog.watch({});
        if (!response) {
            if (tooLarge)
                result.error = "the reply is larger than " + std::to_string(options.maxBytes) + " bytes";
            else if (tooSlow || watchdog.expired())
                result.error = tooSlowText;
            else if (cancelled)
                result.error = "the transfer was cancelled";
            else
                result.error = describe(response.error(), *parsed, options);
            return result;
        }
        result.status = response->status;
        if (watchdog.expired()) {
            result.error = tooSlowText;
            return result;
        }
        if (!isRedirect(response->status) || !response->has_header("Location")) break;
        if (hop == kMaxRedirects) {
            result.error = "too many redirections";
            return result;
        }
        std::string next = redirectTarget(*parsed, response->get_header_value("Location"));
        parsed = parseHttpUrl(next);
        if (!parsed) {
            result.error = "redirected to an address that is not http:// or https://: " + next;
            return result;
        }
    }
    result.ok = true;
    result.body = std::move(body);
    return result;
}

}  // namespace vedozer
