#include "update/UpdateUrls.h"

#include "BuildIdentity.h"
#include "settings/Settings.h"
#include "text/Text.h"

namespace vedozer {

namespace {

std::string withoutTrailingSlash(std::string s) {
    while (!s.empty() && s.back() == '/') s.pop_back();
    return s;
}

}  // namespace

std::string definitionServerAddress(const std::string& commandLineServer, const Settings* settings) {
    std::string server = text::trimWhitespace(commandLineServer);
    if (server.empty() && settings) server = text::trimWhitespace(settings->get(kDefinitionServerSection, kDefinitionServerKey));
    if (server.empty()) server = VEDOZER_BUILD_DEFAULT_SERVER;
    return withoutTrailingSlash(server);
}

std::string escapeBlanks(std::string_view text) { return text::replaceAll(text, " ", "%20"); }

UpdateUrls buildUpdateUrls(const std::string& server, const ProductIdentity& identity) {
    const std::string base = withoutTrailingSlash(server);
    const std::string query = "?prog=" + escapeBlanks(identity.programName) + "&comp=" + escapeBlanks(identity.companyName);
    return {base + "/asp/currentDateNEW.asp" + query, base + "/asp/getDefsNEW.asp" + query + "&date=",
            base + "/asp/date.asp"};
}

std::string localizationUrl(const std::string& server) {
    return withoutTrailingSlash(server) + "/Languages/" + std::to_string(kProductNumber) + "/Localization.txt";
}

std::string updateSiteBase(const std::string& website, const std::string& defaultVendorSite) {
    std::string base = website;
    if (text::trim(base).empty() || base == kUnbrandedWebsite) return defaultVendorSite;
    base = text::ireplaceAll(base, "http://", "");
    size_t slash = base.find('/');
    if (slash != std::string::npos) {
        base.erase(slash + 1);
        base = text::replaceAll(base, "/", "");
    }
    if (base.find("www.") == std::string::npos) base = "www." + base;
    return "http://" + base;
}

std::string updateUrlsText(const std::string& siteBase) {
    static const char* const paths[] = {
        "/definitions/version/R.HTM",          "/definitions/version/F.HTM",
        "/definitions/version/E.HTM",          "/definitions/version/C.HTM",
        "/definitions/data/BlockedCookies.dat", "/definitions/data/RegistryDefinition.dat",
        "/definitions/data/FileDefinition.dat", "/definitions/data/ExeDefinition.dat"};
    std::string out;
    for (const char* p : paths) out += siteBase + p + "\r\n";
    return out;
}

bool isShowUpdateUrlsChord(bool shift, bool ctrl, bool alt) { return shift && !ctrl && !alt; }

void ShowUpdateUrls(const ProductIdentity& identity, Host& host) {
    std::string base = updateSiteBase(identity.website, VEDOZER_BUILD_WEBSITE);
    host.ask(Question{QuestionKind::UpdateUrls, identity.programName, updateUrlsText(base), Buttons::Ok,
                      QuestionIcon::None});
}

}  // namespace vedozer
