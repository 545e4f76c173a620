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

}  // namespace

std::string CookieSiteFromFile(ScanContext& ctx, const std::string& path) {
    if (CookieSiteFromName(path).empty() || !FileExists(ctx.files(), path)) return "False";
    auto in = ctx.files().openRead(path);
    if (!in) {
        ctx.skip("cannot read cookie " + path);
        return "False";
    }
    return CookieSiteFromContent(path, *in, [&] { ctx.yield(); });
}

void ScanCookieFolder(ScanContext& ctx, const std::string& folder, int32_t& itemCounter) {
    if (!ctx.files().folderExists(folder)) return;
    const std::vector<std::string> blocked = loadBlockedSites(ctx);
    std::vector<std::string> names;
    for (const FileInfo& f : ctx.files().list(folder))
        if (!f.isDirectory()) names.push_back(f.name);
    const double fileCount = static_cast<double>(names.size());
    int32_t& inspected = ctx.counters.cookiesAndProcessesInspected;

    for (size_t index = 1; index <= names.size(); ++index) {
        if (ctx.stopped()) return;
        const std::string& name = names[index - 1];
        const std::string path = folder + "\\" + name;
        ++itemCounter;
        ctx.showProgress(name, scanPercent(inspected, fileCount, 1), -1);
        std::string site = NormalizeCookieSite(CookieSiteFromFile(ctx, path));
        bool isBlocked = IsBlockedSite(blocked, site);
        // Shown as a share of the blocked list, so it ends at the number of blocked sites.
        if (auto share = scanPercent(static_cast<double>(blocked.size()) - 1, fileCount, static_cast<double>(index)))
            inspected = *share;
        ctx.showProgress(name, scanPercent(inspected, fileCount, 1), -1);
        if (isBlocked) {
            if (ctx.exclusions.IsExcluded(path)) {
                ctx.results.addExcluded(path);
            } else {
                ctx.results.addFoundRow("Cookie Found: " + name, kIconCookie);
                ctx.results.addCookieDetection(path);
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
