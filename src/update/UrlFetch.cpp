#include "update/UrlFetch.h"

namespace vedozer {

FetchOutcome fetchUrl(Http& http, const std::string& url, Host& host, bool showProgress,
                      const HttpOptions& options) {
    FetchOutcome outcome;
    int blocks = 0;
    auto progress = [&](uint64_t received, uint64_t) {
        if (++blocks > 1) {
            if (showProgress)
                host.onUpdateProgress(UpdateProgress{UpdatePhase::Downloading,
                                                     "Downloaded " + std::to_string(received) + " bytes.", received});
            host.yield();
        }
        return true;
    };
    HttpResult r = http.get(url, options, progress);
    outcome.status = r.status;
    if (!r.ok) {
        outcome.error = r.error.empty() ? "no reply" : r.error;
        return outcome;
    }
    if (r.status < 200 || r.status > 299) {
        outcome.error = "the server answered with status " + std::to_string(r.status);
        return outcome;
    }
    outcome.reached = true;
    outcome.text = std::move(r.body);
    return outcome;
}

std::string FetchUrlText(Http& http, const std::string& url, Host& host, const HttpOptions& options) {
    return fetchUrl(http, url, host, false, options).text;
}

std::string FetchUrlTextWithProgress(Http& http, const std::string& url, Host& host, const HttpOptions& options) {
    return fetchUrl(http, url, host, true, options).text;
}

}  // namespace vedozer
