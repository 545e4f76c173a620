#pragma once
#include "platform/Http.h"

namespace vedozer {

// HTTP through WinInet: no cache, read in 256-byte blocks as the classic downloader did.
class Win32Http : public Http {
public:
    HttpResult get(const std::string& url, const HttpOptions& options, const HttpProgress& progress = {}) override;
};

}  // namespace vedozer
