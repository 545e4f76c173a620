#include "update/LanguageDownload.h"

#include "update/UpdateUrls.h"
#include "update/UrlFetch.h"
#include "i18n/LocalizationFile.h"

namespace vedozer {

bool downloadLocalizationFile(Http& http, Host& host, FileSystem& files, const std::string& path,
                              const std::string& server) {
    FetchOutcome reply = fetchUrl(http, localizationUrl(server), host, false);
    std::string content = localizationFromReply(reply.text).value_or("");
    if (content.empty()) return false;
    auto out = files.openWrite(path, true);
    if (!out) return false;
    bool ok = out->write(content);
    return out->close() && ok;
}

}  // namespace vedozer
