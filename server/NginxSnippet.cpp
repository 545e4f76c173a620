#include "SiteExport.h"

namespace vedozer::server {

bool isCollectorAddress(const std::string& address) {
    if (address.rfind("unix:/", 0) == 0) {
        for (unsigned char c : address) {
            if (c <= ' ' || c == ';' || c == '{' || c == '}' || c == '"' || c == '\'' || c == '\\' ||
                c == '$' || c >= 0x7F)
                return false;
        }
        return true;
    }
    size_t colon = address.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == address.size() || address.size() - colon > 6)
        return false;
    for (size_t i = colon + 1; i < address.size(); ++i) {
        if (address[i] < '0' || address[i] > '9') return false;
    }
    for (size_t i = 0; i < colon; ++i) {
        char c = address[i];
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                  c == '-' || c == ':' || c == '[' || c == ']';
        if (!ok) return false;
    }
    return true;
}

std::string nginxHttpSnippet(const ExportOptions& options) {
    return R"(# Vedozer definitions, static site: include this file inside http { }, and
# vedozer-server.conf inside the server { } whose root is the exported site.
#
# The client names its installed date in the query of the feed request, as
#   date=3/16/2006   or   date=5/15/2006%209:30:00%20AM
# ("/" may also come as %2F, ":" as %3A, a blank as "+"). The date becomes the name of the feed
# file: feeds/3-16-2006.txt, feeds/5-15-2006_9-30-00_AM.txt. Any other date goes to the collector.
map $arg_date $vedozer_feed {
    default "";
    "~^(?<vzm>\d{1,2})(?:/|%2[Ff])(?<vzd>\d{1,2})(?:/|%2[Ff])(?<vzy>\d{3,4})$" "${vzm}-${vzd}-${vzy}";
    "~^(?<vzm>\d{1,2})(?:/|%2[Ff])(?<vzd>\d{1,2})(?:/|%2[Ff])(?<vzy>\d{3,4})(?:%20|\+)(?<vzh>\d{1,2})(?::|%3[Aa])(?<vzi>\d\d)(?::|%3[Aa])(?<vzs>\d\d)(?:%20|\+)(?<vzp>[AP]M)$" "${vzm}-${vzd}-${vzy}_${vzh}-${vzi}-${vzs}_${vzp}";
}

# vedozer-defserver taking submissions (getData.asp) and the rare feed request for a date the
# site has no file for.
upstream vedozer_collector {
    server )" +
           options.collector + R"(;
}
)";
}

std::string nginxServerSnippet() {
    return R"(# Vedozer definitions, static site: include inside the server { } whose root is the site.
location = /asp/currentDateNEW.asp {
    types { }
    default_type "text/plain; charset=windows-1252";
}
location = /asp/date.asp {
    types { }
    default_type "text/plain; charset=windows-1252";
}
location = /asp/getDefsNEW.asp {
    types { }
    default_type "text/plain; charset=windows-1252";
    try_files /feeds/$vedozer_feed.txt @vedozer_collector;
}
location = /asp/getData.asp {
    proxy_pass http://vedozer_collector;
    proxy_set_header X-Real-IP $remote_addr;
}
location @vedozer_collector {
    proxy_pass http://vedozer_collector;
    proxy_set_header X-Real-IP $remote_addr;
}
# The product number may carry leading zeros (/Languages/021/ is product 21).
location ~ "^/Languages/(?=\d{1,6}/)0*(?<vzlang>\d+)/Localization\.txt$" {
    types { }
    default_type "text/plain; charset=utf-8";
    error_page 404 = @vedozer_not_found;
    try_files /Languages/$vzlang/Localization.txt =404;
}
location @vedozer_not_found {
    default_type "text/plain; charset=windows-1252";
    return 404 "Not found";
}
)";
}

}  // namespace vedozer::server
