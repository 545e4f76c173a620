#include "update/LanguageDownload.h"

#include "i18n/LocalizationCheck.h"
#include "i18n/LocalizationParser.h"
#include "update/UpdateUrls.h"
#include "update/UrlFetch.h"

namespace vedozer {

namespace {

LanguageDownloadResult refused(std::string why) { return LanguageDownloadResult{false, std::move(why)}; }

}  // namespace

LanguageDownloadResult downloadLocalizationFile(Http& http, Host& host, FileSystem& files, const std::string& path,
                                                const std::string& server) {
    const std::string url = localizationUrl(server);
    HttpOptions options;
    options.maxBytes = kLocalizationMaxBytes;
    FetchOutcome reply = fetchUrl(http, url, host, false, options);
    if (!reply.reached)
        return refused(url + ": " + (reply.error.empty() ? "no reply" : reply.error));
    auto content = localizationFromReply(reply.text);
    if (!content) return refused(url + " did not answer with a language file");

    ParsedLocalization parsed = parseLocalization(*content);
    LocalizationReport report = reportOn(parsed);
    if (!report.fileProblems.empty()) return refused(url + ": " + report.fileProblems.front());
    for (const LanguageReport& language : report.languages)
        if (!language.problems.empty()) return refused(url + ": " + language.problems.front());

    auto out = files.openWrite(path, true);
    if (!out) return refused("cannot write " + files.displayPath(path));
    bool written = out->write(*content);
    if (!out->close() || !written) return refused("cannot write " + files.displayPath(path));
    return LanguageDownloadResult{true, ""};
}

}  // namespace vedozer
