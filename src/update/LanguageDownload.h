#pragma once
#include <string>

#include "core/Host.h"
#include "i18n/LocalizationFile.h"
#include "platform/FileSystem.h"
#include "platform/Http.h"

namespace vedozer {

struct LanguageDownloadResult {
    bool replaced = false;
    std::string error;  // why the file was not replaced (English), "" when it was
};

// "Check for language updates": fetches "Languages/21/Localization.txt" from the server and, when
// the reply is a language file this program can use whole (every group well formed and checked
// against the program's texts), replaces the file at `path` with it. The new file is written aside
// and renamed over the old one, so a refused reply or a failed write leaves the old file whole.
LanguageDownloadResult downloadLocalizationFile(Http& http, Host& host, FileSystem& files, const std::string& path,
                                                const std::string& server);

}  // namespace vedozer
