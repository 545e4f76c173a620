#include "update/LanguageDownload.h"

#include "update/UpdateUrls.h"
#include "update/UrlFetch.h"

namespace vedozer {

std::string localizationFromReply(std::string_view reply) {
    if (reply.find("<TRANSLATION_ITEMS>") == std::string_view::npos) return {};
    return std::string(reply.substr(reply.find('<')));
}

bool downloadLocalizationFile(Http& http, Host& host, FileSystem& files, const std::string& path,
                              const std::string& server) {
    FetchOutcome reply = fetchUrl(http, localizationUrl(server), host, false);
    std::string content = localizationFromReply(reply.text);
    if (content.empty()) return false;
    auto out = files.openWrite(path, true);
    if (!out) return false;
    bool ok = out->write(content);
    return out->close() && ok;
}

}  // namespace vedozer
