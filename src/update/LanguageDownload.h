#pragma once
#include <string>
#include <string_view>

#include "core/Host.h"
#include "platform/FileSystem.h"
#include "platform/Http.h"

namespace vedozer {

// "Check for language updates": fetches "Languages/21/Localization.txt" from the server and, when
// the reply is a language file, replaces the file at `path` with it. The new file is written
// aside and renamed over the old one, so a failed write leaves the old file whole. True when the
// file was replaced (the caller refills the language list and shows MSG_DOWNLOADED).
bool downloadLocalizationFile(Http& http, Host& host, FileSystem& files, const std::string& path,
                              const std::string& server);

}  // namespace vedozer
