#include "scan/CookieScan.h"

#include "definitions/LineCodec.h"
#include "scan/CookieRules.h"
#include "text/Text.h"

namespace vedozer {

namespace {

std::vector<std::string> loadBlockedSites(ScanContext& ctx) {
    auto lines = openLines(ctx.dataFiles(), dataFilePath(ctx.dataFolder(), kBlockedCookiesFile));
    if (!lines) return BuildBlockedSiteList({}, false);
    std::vector<std::string> decoded;
    std::string raw;
    while (lines->next(raw)) {
        decoded.push_back(DecodeDefinitionLine(raw));
        ctx.yield();
    }
    if (lines->failed()) ctx.skip(std::string(kBlockedCookiesFile) + ": read error after line " +
                                  std::to_string(decoded.size()));
    return BuildBlockedSiteList(decoded, true);
}

// An existing ordinary file, as FileExists counts one.
bool isOrdinaryFile(const FileInfo& f) { return !f.isDirectory() && !f.isHidden() && !f.isSystem(); }

std::string siteFromExistingFile(ScanContext& ctx, const std::string& path) {
    auto in = ctx.files().openRead(path);
    if (!in) {
        ctx.skip("cannot read cookie " + path);
        return "False";
    }
    return CookieSiteFromContent(path, *in, [&] { ctx.yield(); });
}

}  // namespace

std::string CookieSiteFromFile(ScanContext& ctx, const std::string& path) {
    if (CookieSiteFromName(path).empty() || !FileExists(ctx.files(), path)) return "False";
    return siteFromExistingFile(ctx, path);
}

std::string CookieSiteFromFile(ScanContext& ctx, const std::string& path, const FileInfo& listed) {
    // A host name holding "\" does not name the listed file as a path; ask the file system.
    if (listed.name.find('\\') != std::string::npos) return CookieSiteFromFile(ctx, path);
    if (CookieSiteFromName(path).empty() || !isOrdinaryFile(listed)) return "False";
    return siteFromExistingFile(ctx, path);
}

void ScanCookieFolder(ScanContext& ctx, const std::string& folder, int32_t& itemCounter) {
    if (!ctx.files().folderExists(folder)) return;
    const BlockedSiteIndex blocked(loadBlockedSites(ctx));
    std::vector<FileInfo> entries = ctx.files().list(folder);
    std::erase_if(entries, [](const FileInfo& f) { return f.isDirectory(); });
    const double fileCount = static_cast<double>(entries.size());
    int32_t& inspected = ctx.counters.cookiesAndProcessesInspected;

    for (size_t index = 1; index <= entries.size(); ++index) {
        if (ctx.stopped()) return;
        const std::string& name = entries[index - 1].name;
        const std::string path = folder + "\\" + name;
        ++itemCounter;
        ctx.showProgress(name, static_cast<int64_t>(index), static_cast<int64_t>(fileCount), scanPercent(inspected, fileCount, 1), -1);
        std::string site = NormalizeCookieSite(CookieSiteFromFile(ctx, path, entries[index - 1]));
        bool isBlocked = blocked.IsBlockedSite(site);
        // Shown as a share of the blocked list, so it ends at the number of blocked sites.
        if (auto share = scanPercent(static_cast<double>(blocked.size()) - 1, fileCount, static_cast<double>(index)))
            inspected = *share;
        ctx.showProgress(name, static_cast<int64_t>(index), static_cast<int64_t>(fileCount), scanPercent(inspected, fileCount, 1), -1);
        if (isBlocked) {
            if (ctx.exclusions.IsExcluded(path) || ctx.exclusions.IsExcludedName(name)) {
                ctx.results.addExcluded(DetectionKind::Cookie, path);
            } else {
                ctx.results.addFoundRow("Cookie Found: " + name, kIconCookie);
                ctx.results.addCookieDetection(path, "Cookie: " + name);
                ctx.results.addThreat(ThreatRecord{"Cookie: " + name, path, "Tracking Cookie", kIconCookie, false});
                ++ctx.counters.softwareFound;
            }
        }
        ctx.yield();
    }
}

void ScanCookies(ScanContext& ctx, int32_t& itemCounter) {
    if (!ctx.platform.shellFolders) return;
    std::string folder = ctx.platform.shellFolders->folderPath(kCookiesFolderId);
    folder = folder.substr(0, folder.find('\0'));
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    if (text::trim(folder).empty()) return;
    ScanCookieFolder(ctx, folder, itemCounter);
}

}  // namespace vedozer
