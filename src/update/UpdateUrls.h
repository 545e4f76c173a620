#pragma once
#include <string>
#include <string_view>

#include "core/Host.h"
#include "i18n/ProductIdentity.h"

namespace vedozer {

class Settings;

// Where the definition server is: the --server option when given, else the setting
// Settings/DefinitionServer when not empty, else the build's default. A trailing "/" is dropped.
inline constexpr char kDefinitionServerSection[] = "Settings";
inline constexpr char kDefinitionServerKey[] = "DefinitionServer";
std::string definitionServerAddress(const std::string& commandLineServer, const Settings* settings);

// The requests of one update check against a server address ("http://host:port").
struct UpdateUrls {
    std::string currentDate;  // ".../asp/currentDateNEW.asp?prog=...&comp=..."
    std::string feed;         // ".../asp/getDefsNEW.asp?prog=...&comp=...&date=" (the date is appended)
    std::string newDate;      // ".../asp/date.asp"
};
UpdateUrls buildUpdateUrls(const std::string& server, const ProductIdentity& identity);

// Every blank becomes "%20"; nothing else is escaped.
std::string escapeBlanks(std::string_view text);

// The localization download: server + "/Languages/" + product number + "/Localization.txt".
inline constexpr int kProductNumber = 21;
std::string localizationUrl(const std::string& server);

// The website text of a build that carries no brand of its own.
inline constexpr char kUnbrandedWebsite[] = "[Website]";

// The site the definition pages are listed under: the website reduced to "http://www." + host,
// or defaultVendorSite for an unbranded build (empty website or the placeholder text).
std::string updateSiteBase(const std::string& website, const std::string& defaultVendorSite);

// The eight definition URLs, each line ended by CR LF.
std::string updateUrlsText(const std::string& siteBase);

// Only Shift, without Ctrl or Alt, shows the URLs.
bool isShowUpdateUrlsChord(bool shift, bool ctrl, bool alt);

// Shows the URLs in a message box with an OK button (title: the program name).
void ShowUpdateUrls(const ProductIdentity& identity, Host& host);

}  // namespace vedozer
