#pragma once
#include <httplib.h>

#include <string>
#include <string_view>

#include "FeedSigner.h"
#include "Repository.h"
#include "SubmissionLog.h"

namespace vedozer::server {

// The requests of the definition server:
//   /asp/currentDateNEW.asp?prog=&comp=     date of the newest definitions
//   /asp/getDefsNEW.asp?prog=&comp=&date=   update feed since the client's date
//   /asp/date.asp                           date for the client's date.dat after an update
//   /Languages/<n>/Localization.txt         the language file of product n
// With a signer, the date replies and feeds carry its signatures.
void installDefinitionRoutes(httplib::Server& server, Repository& repository, const FeedSigner* signer = nullptr);

// /asp/getData.asp?data=   anonymous data and file submissions. Behind a proxy (`proxied`), the
// sender is the address the proxy names in X-Real-IP.
void installSubmissionRoute(httplib::Server& server, SubmissionLog& submissions, bool proxied);

// Requests nobody routes get 404 "Not found" (a collector asked for a feed, for example).
void installNotFound(httplib::Server& server);

// One line per request on stderr.
void installRequestLog(httplib::Server& server);

// The request log line: address, method, target, status, body size. Bytes outside printable
// ASCII and "\" are written as "\xNN" and "\\", so a request cannot drive the terminal or forge
// a line.
std::string requestLogLine(const httplib::Request& req, const httplib::Response& res);
std::string escapeLogText(std::string_view text);

}  // namespace vedozer::server
