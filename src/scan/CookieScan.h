#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "scan/ScanContext.h"

namespace vedozer {

inline constexpr int kCookiesFolderId = 33;

// The cookie stage: every file of the user's cookie folder whose site is on the blocked
// list becomes a tracking cookie. itemCounter counts the files looked at.
void ScanCookies(ScanContext& ctx, int32_t& itemCounter);
void ScanCookieFolder(ScanContext& ctx, const std::string& folder, int32_t& itemCounter);

// The site a cookie file stores, or "False" (see CookieSiteFromContent).
std::string CookieSiteFromFile(ScanContext& ctx, const std::string& path);
// The same for a file just listed in its folder: the listing's entry stands for the existence
// test, so the path is not resolved twice.
std::string CookieSiteFromFile(ScanContext& ctx, const std::string& path, const FileInfo& listed);

}  // namespace vedozer
