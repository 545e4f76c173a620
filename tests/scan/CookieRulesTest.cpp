#include <gtest/gtest.h>

#include <random>
#include <string>

#include "scan/CookieRules.h"
#include "support/StringStream.h"

namespace vedozer {
namespace {

std::string fromContent(const std::string& path, const std::string& content, size_t step = 0) {
    test::StringInputStream in(content, step);
    return CookieSiteFromContent(path, in);
}

TEST(CookieRules, SiteFromName) {
    EXPECT_EQ(CookieSiteFromName("john@ads.example[1].txt"), "ads.example");
    EXPECT_EQ(CookieSiteFromName("john@ads.example(2).txt"), "ads.example");
    EXPECT_EQ(CookieSiteFromName("john@tracker.txt"), "tracker");
    EXPECT_EQ(CookieSiteFromName("john@a(1)[2].txt"), "a");
    EXPECT_EQ(CookieSiteFromName("john@x[1](2).txt"), "x[1]");  // "(" is looked for first
    EXPECT_EQ(CookieSiteFromName("john@first@second.txt"), "first@second");
    EXPECT_EQ(CookieSiteFromName("index.dat"), "");
    EXPECT_EQ(CookieSiteFromName(""), "");
    EXPECT_EQ(CookieSiteFromName("john@noext"), "");
    EXPECT_EQ(CookieSiteFromName("C:\\Users\\john\\Cookies\\john@ads[1].txt"), "ads");
}

TEST(CookieRules, SiteFromFileReadsTheStoredHost) {
    const std::string path = "C:\\Cookies\\john@ads[1].txt";
    // The usual layout: name, value, host/path, flags... one per line.
    std::string cookie = "id\r\n12345\r\nads.example.com/\r\n1024\r\n*\r\n";
    EXPECT_EQ(fromContent(path, cookie), "ads.example.com");
    EXPECT_EQ(fromContent(path, cookie, 1), "ads.example.com");
    // The host may sit inside a longer field; the result starts at the site.
    EXPECT_EQ(fromContent(path, "x=1,www.ads.example.net/path/more,z"), "ads.example.net");
    // A field holding the site without "/" does not count; a later one does.
    EXPECT_EQ(fromContent(path, "ads-value\r\nads.example/\r\n"), "ads.example");
    // Fields end at commas too, so a "/" behind a comma is not seen.
    EXPECT_EQ(fromContent(path, "ads.example,/\r\n"), "False");
    // Exact case.
    EXPECT_EQ(fromContent(path, "ADS.example/\r\n"), "False");
    EXPECT_EQ(fromContent(path, ""), "False");
    EXPECT_EQ(fromContent("C:\\Cookies\\index.dat", "ads/"), "False");
    // A "/" inside the site itself ends the result there.
    EXPECT_EQ(fromContent("u@a/b.txt", "xa/b/"), "a");
    // The first occurrence in a field counts.
    EXPECT_EQ(fromContent("u@ab.txt", "ab.one ab.two/"), "ab.one ab.two");
}

TEST(CookieRules, SiteFromFileSurvivesBinaryJunk) {
    std::mt19937 rng(4);
    std::string junk;
    for (int i = 0; i < 200000; ++i) junk.push_back(static_cast<char>(rng() % 256));
    std::string result = fromContent("u@ads[1].txt", junk);
    EXPECT_TRUE(result == "False" || result.rfind("ads", 0) == 0);
    int yields = 0;
    test::StringInputStream in(std::string(1000, ',') + "ads.x/", 7);
    EXPECT_EQ(CookieSiteFromContent("u@ads[1].txt", in, [&] { ++yields; }), "ads.x");
    EXPECT_EQ(yields, 1000);
}

TEST(CookieRules, BlockedSiteListKeepsTheTrailingEmptyEntry) {
    EXPECT_EQ(BuildBlockedSiteList({"ads.com", "track.net"}, true),
              (std::vector<std::string>{"ads.com", "track.net", ""}));
    EXPECT_EQ(BuildBlockedSiteList({"a|b"}, true), (std::vector<std::string>{"a", "b", ""}));
    EXPECT_EQ(BuildBlockedSiteList({}, true), (std::vector<std::string>{""}));
    EXPECT_TRUE(BuildBlockedSiteList({}, false).empty());
}

TEST(CookieRules, NormalizingTheStoredSite) {
    EXPECT_EQ(CutLastLabel("ads.example.com"), "ads.example");
    EXPECT_EQ(CutLastLabel("ads"), "ads");
    EXPECT_EQ(CutLastLabel("a."), "a");
    EXPECT_EQ(NormalizeCookieSite("www.ads.com"), "ads");
    EXPECT_EQ(NormalizeCookieSite("WWW.ads.example.com"), "ads.example");
    EXPECT_EQ(NormalizeCookieSite("www.com"), "www");  // the label is cut first
    EXPECT_EQ(NormalizeCookieSite("False"), "False");
}

TEST(CookieRules, IsBlockedSite) {
    auto list = BuildBlockedSiteList({"ads.com", "*.tracker.net", "www.hits.org", "AD.BIG.COM", "x.y.z"}, true);
    EXPECT_TRUE(IsBlockedSite(list, "ads"));
    EXPECT_TRUE(IsBlockedSite(list, ".tracker"));  // "*" removed after the last label
    EXPECT_FALSE(IsBlockedSite(list, "tracker"));
    EXPECT_FALSE(IsBlockedSite(list, "hits"));     // the entry keeps its "www."
    EXPECT_TRUE(IsBlockedSite(list, "www.hits"));
    EXPECT_FALSE(IsBlockedSite(list, "ad.big"));   // the substring filter is case-sensitive
    EXPECT_FALSE(IsBlockedSite(list, "AD.big"));
    EXPECT_TRUE(IsBlockedSite(list, "AD.BIG"));
    EXPECT_TRUE(IsBlockedSite(list, "x.y"));       // three labels against three labels
    EXPECT_FALSE(IsBlockedSite(list, "False"));
    EXPECT_FALSE(IsBlockedSite(list, ""));         // an empty site matches nothing
    EXPECT_FALSE(IsBlockedSite({}, "ads"));
    // The later comparison ignores case once the substring filter passed.
    EXPECT_TRUE(IsBlockedSite({"Ads.Com"}, "Ads"));
}

TEST(CookieRules, BlockedSiteIndexAnswersAsTheList) {
    auto list = BuildBlockedSiteList({"ads.com", "*.tracker.net", "www.hits.org", "AD.BIG.COM", "x.y.z"}, true);
    const BlockedSiteIndex index(list);
    EXPECT_EQ(index.size(), list.size());
    for (const char* site : {"ads", ".tracker", "tracker", "hits", "www.hits", "ad.big", "AD.big", "AD.BIG", "x.y",
                             "False", ""})
        EXPECT_EQ(index.IsBlockedSite(site), IsBlockedSite(list, site)) << site;
    EXPECT_FALSE(BlockedSiteIndex({}).IsBlockedSite("ads"));
    EXPECT_TRUE(BlockedSiteIndex({"Ads.Com"}).IsBlockedSite("Ads"));

    // Entries and sites from a small alphabet, so case, stars, dots and substrings collide often.
    std::mt19937 rng(5);
    auto word = [&](size_t max) {
        static const char kChars[] = "aAbB.*w";
        std::string w(rng() % (max + 1), ' ');
        for (char& c : w) c = kChars[rng() % 7];
        return w;
    };
    int blocked = 0;
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> lines;
        for (int i = 0, n = static_cast<int>(rng() % 8); i < n; ++i) lines.push_back(word(7));
        auto entries = BuildBlockedSiteList(lines, true);
        const BlockedSiteIndex idx(entries);
        for (int k = 0; k < 50; ++k) {
            std::string site = word(5);
            ASSERT_EQ(idx.IsBlockedSite(site), IsBlockedSite(entries, site)) << "site \"" << site << "\"";
            blocked += IsBlockedSite(entries, site);
        }
    }
    EXPECT_GT(blocked, 100);  // the comparison was tried on sites that are blocked, not only on misses
}

}  // namespace
}  // namespace vedozer
