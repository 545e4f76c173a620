// Cookies: the site from a cookie file's name and content, and the blocked-site list rules.
// Input: the file name, LF, the file's content.
#include "FuzzSupport.h"
#include "scan/CookieRules.h"

using namespace vedozer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input = fuzz::text(data, size);
    const size_t lf = input.find('\n');
    const std::string_view name = input.substr(0, lf);
    const std::string_view content = lf == std::string_view::npos ? std::string_view() : input.substr(lf + 1);
    (void)CookieSiteFromName(name);
    fuzz::BytesStream stream(content, 1 + size % 13);
    std::string site = CookieSiteFromContent(name, stream);
    std::vector<std::string> blocked;
    for (std::string_view line : fuzz::lines(content)) blocked.emplace_back(line);
    auto list = BuildBlockedSiteList(blocked, true);
    (void)IsBlockedSite(list, NormalizeCookieSite(site));
    (void)CutLastLabel(site);
    return 0;
}
