#pragma once
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "update/ServerDate.h"

namespace vedozer::server {

struct ExportError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct ExportOptions {
    // Where nginx forwards submissions and feed requests it has no file for: host:port of a
    // vedozer-defserver (collector mode, or serving the same repository).
    std::string collector = "127.0.0.1:8090";
    // The secret key the date reply and the feeds are signed with (none: unsigned).
    std::filesystem::path keyFile;
};

struct ExportSummary {
    DateValue newest;
    size_t changeSets = 0;
    size_t feeds = 0;
    size_t languageFiles = 0;
    uint64_t bytes = 0;
};

// The file a feed is stored under, named after the installed date as the client sends it:
// "3/16/2006" -> "3-16-2006.txt", "5/15/2006 9:30:00 AM" -> "5-15-2006_9-30-00_AM.txt".
std::string feedFileName(const DateValue& installed);

// Writes the static site for a repository:
//   asp/currentDateNEW.asp, asp/date.asp    the date reply
//   feeds/<date>.txt                        the feed for each date a client can hold: every
//                                           change-set date and the date of definitions never
//                                           updated (the feed from the beginning)
//   Languages/<n>/Localization.txt          the language files
// With a key file, the date reply and every feed carry their signatures.
//   nginx/vedozer-http.conf, nginx/vedozer-server.conf
// The site is built beside `out` and renamed into place at the end, so `out` is either complete
// or absent. `out` must not exist or be an empty folder. Throws ExportError or RepositoryError;
// then nothing is left behind.
ExportSummary exportSite(const std::filesystem::path& repo, const std::filesystem::path& out,
                         const ExportOptions& options);

// "host:port", "[v6]:port" or "unix:/path"; anything that could break the configuration is refused.
bool isCollectorAddress(const std::string& address);

// The two nginx snippets: one for the http { } block, one for a server { } whose root is the site.
std::string nginxHttpSnippet(const ExportOptions& options);
std::string nginxServerSnippet();

}  // namespace vedozer::server
