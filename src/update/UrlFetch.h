#pragma once
#include <string>

#include "core/Host.h"
#include "platform/Http.h"

namespace vedozer {

// A GET with the reason it failed. Only a complete reply with a success status counts as reached;
// anything else (no connection, time-out, size cap, cut-off body, error status) gives no text.
struct FetchOutcome {
    bool reached = false;
    std::string text;
    int status = 0;
    std::string error;
};

// Fetches a URL. With showProgress, "Downloaded N bytes." goes to the host (UpdateProgress) after
// every block after the first; the host yields after every such block either way.
FetchOutcome fetchUrl(Http& http, const std::string& url, Host& host, bool showProgress,
                      const HttpOptions& options = {});

// The body of the URL, or "" when the server cannot be reached.
std::string FetchUrlText(Http& http, const std::string& url, Host& host, const HttpOptions& options = {});
std::string FetchUrlTextWithProgress(Http& http, const std::string& url, Host& host,
                                     const HttpOptions& options = {});

}  // namespace vedozer
