#pragma once
#include <string>

#include "HttpListener.h"
#include "SubmissionLog.h"

namespace vedozer::server {

struct ServeOptions {
    std::string repo;          // empty in collector mode
    bool collectOnly = false;  // only /asp/getData.asp
    std::string bind = "127.0.0.1";
    int port = 8080;
    std::string submissionsFile;  // default REPO/submissions.txt
    size_t rememberedNames = SubmissionLog::kDefaultRememberedNames;
    bool proxied = false;
    bool quiet = false;
    std::string keyFile;  // secret key: replies are signed with it
    ListenerLimits limits;
};

// Runs the server until SIGINT or SIGTERM. Returns the exit code; problems go to stderr.
int serve(const ServeOptions& options);

}  // namespace vedozer::server
