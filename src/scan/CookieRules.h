#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/FileSystem.h"

namespace vedozer {

// Site part of a cookie file name "user@site[counter].ext" or "user@site(counter).ext":
// the text after the first "@" up to the first "(", else the first "[", else its last ".".
// Empty without "@".
std::string CookieSiteFromName(std::string_view name);

// The site as the cookie file stores it. The file is read field by field (fields end at
// commas and line ends); the first field that holds the name-derived site gives the text
// from the site up to the first "/" after it. "False" when the name has no site or no
// field qualifies. `yield` runs after every field.
std::string CookieSiteFromContent(std::string_view path, InputStream& content,
                                  const std::function<void()>& yield = {});

// BlockedCookies.dat lines joined with "|" after each and split at "|" again: the
// entries in file order and one empty entry at the end. No lines (a missing file) give
// no entries at all.
std::vector<std::string> BuildBlockedSiteList(const std::vector<std::string>& decodedLines, bool fileExists);

// Drops the last dot-separated label ("www.ads.com" -> "www.ads"); text without "." stays.
std::string CutLastLabel(std::string_view site);
// The site a cookie is checked under: its last label cut, then a leading "www." (any case) removed.
std::string NormalizeCookieSite(std::string_view storedSite);

// True when an entry containing the site (exact case) equals it, ignoring case, once the
// entry's last label and its first "*" are gone. An empty site is never blocked.
bool IsBlockedSite(const std::vector<std::string>& blockedSites, std::string_view site);

// The blocked-site list with its entries filed under the form they are compared in (last label
// and first "*" gone, lower case), so that IsBlockedSite looks at the few entries that can match
// instead of all of them. Same answers as IsBlockedSite over the list.
class BlockedSiteIndex {
public:
    explicit BlockedSiteIndex(std::vector<std::string> blockedSites);
    bool IsBlockedSite(std::string_view site) const;
    size_t size() const { return m_entries.size(); }

private:
    std::vector<std::string> m_entries;
    std::unordered_map<std::string, std::vector<size_t>> m_byComparedForm;
};

}  // namespace vedozer
