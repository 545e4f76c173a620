// The static export: what it writes, and that it never leaves a half-written or mixed site.
#include <gtest/gtest.h>

#include <filesystem>

#include "SiteExport.h"
#include "platform/image/ImageFileSystem.h"
#include "support/DefServerProcess.h"
#include "support/TempDir.h"
#include "update/FeedSignature.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;
const char* const kServer = VEDOZER_BINARY_DIR "/vedozer-defserver";

std::vector<std::string> filesUnder(const fs::path& root) {
    std::vector<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        if (e.is_regular_file()) files.push_back(fs::relative(e.path(), root).string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(SiteExport, WritesOneFeedPerKnownDateAndOnlyTheLanguageFilesTheServerWouldAnswer) {
    test::TempDir repo, out;
    repo.write("changes/2006-04-01.txt", "ADD COOK one.example\n");
    repo.write("changes/2006-05-15_093000.txt", "ADD COOK two.example\n");
    repo.write("changes/notes.md", "not a change set");
    repo.write("Languages/21/Localization.txt", "<x/>");
    repo.write("Languages/021/Localization.txt", "never served: /Languages/021/ is product 21");
    repo.write("Languages/1234567/Localization.txt", "never served: too many digits");
    repo.write("Languages/abc/Localization.txt", "never served");
    const fs::path site = out.path() / "site";
    server::ExportSummary s = server::exportSite(repo.path(), site, {});
    EXPECT_EQ(s.changeSets, 2u);
    EXPECT_EQ(s.feeds, 3u);
    EXPECT_EQ(s.languageFiles, 1u);
    EXPECT_EQ(filesUnder(site),
              (std::vector<std::string>{"Languages/21/Localization.txt", "asp/currentDateNEW.asp",
                                        "asp/date.asp", "feeds/3-16-2006.txt", "feeds/4-1-2006.txt",
                                        "feeds/5-15-2006_9-30-00_AM.txt", "nginx/vedozer-http.conf",
                                        "nginx/vedozer-server.conf"}));
    EXPECT_EQ(test::readHostFile(site / "asp/date.asp"), "5/15/2006 9:30:00 AM");
    EXPECT_EQ(test::readHostFile(site / "feeds/5-15-2006_9-30-00_AM.txt"), "")
        << "nothing newer than the newest";
    EXPECT_EQ(filesUnder(out.path()).size(), filesUnder(site).size())
        << "no scratch folder left beside the site";
}

TEST(SiteExport, RefusesToMixReleasesAndLeavesNothingBehindOnABadRepository) {
    test::TempDir repo, out;
    repo.write("changes/2006-04-01.txt", "ADD COOK one.example\n");
    out.write("old/asp/date.asp", "4/1/2006 12:00:00 AM");
    test::ProcessRun mixed =
        test::runProcess({kServer, "export", "--repo", repo.str(), "--out", (out.path() / "old").string()});
    EXPECT_EQ(mixed.exitCode, 1);
    EXPECT_NE(mixed.err.find("is not empty: export each release into a new folder"), std::string::npos)
        << mixed.err;
    EXPECT_EQ(filesUnder(out.path()), std::vector<std::string>{"old/asp/date.asp"});

    repo.write("changes/2006-05-01.txt", "ADD COOK fine.example\nADD FILE broken\n");
    test::ProcessRun bad =
        test::runProcess({kServer, "export", "--repo", repo.str(), "--out", (out.path() / "new").string()});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.err.find("2006-05-01.txt:2"), std::string::npos) << bad.err;
    EXPECT_EQ(filesUnder(out.path()), std::vector<std::string>{"old/asp/date.asp"});

    fs::remove(repo.path() / "changes/2006-05-01.txt");
    fs::create_directories(out.path() / "empty");
    for (const char* collector : {"127.0.0.1:8090; }", "host-without-port", "a b:80", "unix:/run/x;y"}) {
        test::ProcessRun r = test::runProcess({kServer, "export", "--repo", repo.str(), "--out",
                                               (out.path() / "empty").string(), "--collector", collector});
        EXPECT_EQ(r.exitCode, 1) << collector;
    }
    EXPECT_TRUE(fs::is_empty(out.path() / "empty"));
    EXPECT_TRUE(server::isCollectorAddress("[::1]:8090"));
    EXPECT_TRUE(server::isCollectorAddress("unix:/run/vedozer/collector.sock"));
}

TEST(SiteExport, WithAKeyTheDateAndEveryFeedCarryTheirSignatures) {
    test::TempDir repo, out, keys;
    repo.write("changes/2006-04-01.txt", "ADD COOK one.example\n");
    repo.write("changes/2006-05-15_093000.txt", "ADD COOK two.example\n");
    const std::string key = (keys.path() / "defs").string();
    ASSERT_EQ(test::runProcess({kServer, "keygen", "--out", key}).exitCode, 0);
    const fs::path site = out.path() / "site";
    test::ProcessRun r = test::runProcess({kServer, "export", "--repo", repo.str(), "--out", site.string(), "--key",
                                           key + ".key"});
    ASSERT_EQ(r.exitCode, 0) << r.err;

    keys.write(kDefinitionKeyFile, test::readHostFile(key + ".pub"));
    HostFileSystem files;
    SignedReplies replies = SignedReplies::load(files, keys.str());
    ASSERT_TRUE(replies.active()) << replies.error();
    std::string date, error;
    EXPECT_TRUE(replies.date(test::readHostFile(site / "asp/date.asp"), date, error)) << error;
    EXPECT_EQ(date, "5/15/2006 9:30:00 AM");
    for (const auto& [file, installed] : std::map<std::string, std::string>{
             {"3-16-2006.txt", "3/16/2006"}, {"4-1-2006.txt", "4/1/2006"}, {"5-15-2006_9-30-00_AM.txt", "5/15/2006 9:30:00 AM"}}) {
        std::string feed = test::readHostFile(site / "feeds" / file);
        std::string_view records;
        std::optional<DateValue> reached;
        EXPECT_TRUE(replies.feed(feed, installed, records, reached, error)) << file << ": " << error;
        EXPECT_EQ(reached ? FormatGeneralDate(*reached) : "", "5/15/2006 9:30:00 AM") << file;
    }
}

}  // namespace
}  // namespace vedozer
