#include "scan/CookieRules.h"

#include <vector>

#include "text/Text.h"

namespace vedozer {

namespace {
// A stored host longer than this is not a host; its field is passed over.
constexpr size_t kMaxStoredSite = 64 * 1024;
}  // namespace

std::string CookieSiteFromName(std::string_view name) {
    size_t at = name.find('@');
    if (at == std::string_view::npos) return "";
    std::string_view rest = name.substr(at + 1);
    size_t cut = rest.find('(');
    if (cut == std::string_view::npos) cut = rest.find('[');
    if (cut == std::string_view::npos) cut = rest.rfind('.');
    if (cut == std::string_view::npos) return "";
    return std::string(rest.substr(0, cut));
}

std::string CookieSiteFromContent(std::string_view path, InputStream& content, const std::function<void()>& yield) {
    const std::string site = CookieSiteFromName(path);
    if (site.empty()) return "False";

    // Knuth-Morris-Pratt over each field, so a file of any size is read once in chunks.
    std::vector<size_t> fail(site.size(), 0);
    for (size_t i = 1, k = 0; i < site.size(); ++i) {
        while (k > 0 && site[i] != site[k]) k = fail[k - 1];
        if (site[i] == site[k]) ++k;
        fail[i] = k;
    }
    const size_t slashInSite = site.find('/');

    size_t state = 0;
    bool matched = false;
    bool oversized = false;
    std::string rest;
    char buf[8192];
    while (true) {
        long long got = content.read(buf, sizeof buf);
        if (got <= 0) break;
        for (long long i = 0; i < got; ++i) {
            char c = buf[i];
            if (c == ',' || c == '\r' || c == '\n') {
                state = 0;
                matched = oversized = false;
                rest.clear();
                if (yield) yield();
                continue;
            }
            if (matched) {
                if (oversized) continue;
                if (c == '/') return rest;
                rest.push_back(c);
                if (rest.size() > kMaxStoredSite) oversized = true;
                continue;
            }
            while (state > 0 && site[state] != c) state = fail[state - 1];
            if (site[state] == c) ++state;
            if (state == site.size()) {
                if (slashInSite != std::string::npos) return site.substr(0, slashInSite);
                matched = true;
                rest = site;
            }
        }
    }
    return "False";
}

std::vector<std::string> BuildBlockedSiteList(const std::vector<std::string>& decodedLines, bool fileExists) {
    if (!fileExists) return {};
    std::string joined;
    for (const auto& line : decodedLines) joined += line + "|";
    return text::split(joined, "|");
}

std::string CutLastLabel(std::string_view site) {
    size_t dot = site.rfind('.');
    if (dot == std::string_view::npos) return std::string(site);
    return std::string(site.substr(0, dot));
}

std::string NormalizeCookieSite(std::string_view storedSite) {
    std::string site = CutLastLabel(storedSite);
    if (text::istartsWith(site, "www.")) site.erase(0, 4);
    return site;
}

namespace {
// An entry as a site is compared with it: last label and first "*" gone, lower case.
std::string comparedForm(std::string_view entry) {
    std::string candidate = CutLastLabel(entry);
    size_t star = candidate.find('*');
    if (star != std::string::npos) candidate.erase(star, 1);
    return text::toLower(candidate);
}
}  // namespace

bool IsBlockedSite(const std::vector<std::string>& blockedSites, std::string_view site) {
    if (site.empty()) return false;
    const std::string wanted = text::toLower(site);
    for (const auto& entry : blockedSites) {
        if (entry.find(site) == std::string::npos) continue;
        if (comparedForm(entry) == wanted) return true;
    }
    return false;
}

BlockedSiteIndex::BlockedSiteIndex(std::vector<std::string> blockedSites) : m_entries(std::move(blockedSites)) {
    for (size_t i = 0; i < m_entries.size(); ++i) m_byComparedForm[comparedForm(m_entries[i])].push_back(i);
}

bool BlockedSiteIndex::IsBlockedSite(std::string_view site) const {
    if (site.empty()) return false;
    auto it = m_byComparedForm.find(text::toLower(site));
    if (it == m_byComparedForm.end()) return false;
    for (size_t i : it->second)
        if (m_entries[i].find(site) != std::string::npos) return true;
    return false;
}

}  // namespace vedozer
