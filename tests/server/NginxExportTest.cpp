// A release exported as a static site and served by a real nginx answers the client as the live
// server does: the same replies to every request, the same definition files after an update.
#include <gtest/gtest.h>
#include <httplib.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <thread>

#include "NginxProcess.h"
#include "definitions/LineCodec.h"
#include "i18n/LocalizationFile.h"
#include "support/DefServerProcess.h"
#include "support/TempDir.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;
const char* const kServer = VEDOZER_BINARY_DIR "/vedozer-defserver";
const char* const kVedozer = VEDOZER_BINARY_DIR "/vedozer";

struct Reply {
    int status = 0;
    std::string contentType;
    std::string body;
    bool operator==(const Reply&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Reply& r) {
    return os << r.status << " [" << r.contentType << "] " << r.body.size()
              << " bytes: " << r.body.substr(0, 60);
}

Reply get(int port, const std::string& target) {
    httplib::Client client("127.0.0.1", port);
    client.set_url_encode(false);
    client.set_read_timeout(10, 0);
    auto res = client.Get(target.c_str());
    if (!res) return {-1, httplib::to_string(res.error()), ""};
    return {res->status, res->get_header_value("Content-Type"), res->body};
}

std::map<std::string, std::string> folderContents(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(folder))
        files[e.path().filename().string()] = test::readHostFile(e.path());
    return files;
}

class NginxExport : public ::testing::Test {
protected:
    test::TempDir repo, sites, prefix, work;
    std::unique_ptr<test::DefServerProcess> live;
    std::unique_ptr<test::NginxProcess> nginx;

    void SetUp() override {
        if (test::NginxProcess::binary().empty()) {
            if (std::getenv("VEDOZER_REQUIRE_NGINX"))
                FAIL() << "nginx is required here (Debian package nginx-light)";
            GTEST_SKIP() << "nginx is not installed (Debian package nginx-light)";
        }
        repo.write("changes/2006-04-01.txt",
                   "ADD FILE tbhelper.dll=Toolbar Helper|[windir]\\system32|Adware\n"
                   "ADD EXE popmaster.exe=PopMaster|[programfiles]\\PopMaster\n"
                   "ADD REG 2^Software\\PopMaster=PopMaster|Adware\n"
                   "ADD REG 1^Software\\Run^PopMaster=PopMaster|Startup entry\n"
                   "ADD COOK tracker.example.net\n"
                   "ADD DIR PopMaster folder=PopMaster|[programfiles]\\PopMaster|Adware\n"
                   "ADD SFILE notepad.exe|[windir]\\notepad.exe\n");
        repo.write("changes/2006-05-15_093000.txt",
                   "ADD DLL searchbar.dll=SearchBar Plus|[programfiles]\\SearchBar|Browser hijacker\r\n"
                   "ADD COOK ads.example.org\r\n"
                   "DEL FILE TBHELPER.DLL\r\n"
                   "DEL REG 1^Software\\Run^PopMaster\r\n"
                   "DEL SFILE notepad.exe|[windir]\\notepad.exe\r\n");
        repo.write("changes/2006-06-20_171500.txt",
                   "ADD FILE caf\xe9.exe=Caf\xe9 Spy|[appdata]\\Caf\xe9|Spyware\n"
                   "ADD SDIR Tools|[programfiles]\\Tools\n"
                   "DEL COOK tracker.example.net\n");
        repo.write("changes/2006-07-01.txt",
                   "ADD REG 2^Software\\Late^Value=Late Spy|Adware\nDEL DIR PopMaster folder\n");
        // A language file the program accepts (the server warns at start of one it would refuse).
        repo.write("Languages/21/Localization.txt", "\xEF\xBB\xBF" + makeLocalizationFile({{"MSG_SURE", "Sure?"}}));

        live = std::make_unique<test::DefServerProcess>(
            kServer, std::vector<std::string>{"--repo", repo.str(), "--submissions",
                                              (work.path() / "subs.txt").string()});
        ASSERT_TRUE(live->running());
        const fs::path site = sites.path() / "2006-07-01";
        test::ProcessRun exported =
            test::runProcess({kServer, "export", "--repo", repo.str(), "--out", site.string(), "--collector",
                              "127.0.0.1:" + std::to_string(live->port())});
        ASSERT_EQ(exported.exitCode, 0) << exported.err;
        nginx = std::make_unique<test::NginxProcess>(prefix.path(), site);
        ASSERT_EQ(nginx->problem(), "");
    }

    // `vedozer update` from `server` into a data folder prepared by `vedozer init` and `date`.
    std::pair<test::ProcessRun, std::map<std::string, std::string>> update(const std::string& name,
                                                                           const std::string& server,
                                                                           const std::string& date) {
        const fs::path home = work.path() / name;
        const std::vector<std::string> common = {kVedozer,
                                                 "--data-dir",
                                                 (home / "data").string(),
                                                 "--config-dir",
                                                 (home / "config").string(),
                                                 "--machine-config-dir",
                                                 (home / "config").string()};
        auto run = [&](std::vector<std::string> args) {
            std::vector<std::string> argv = common;
            argv.insert(argv.end(), args.begin(), args.end());
            return test::runProcess(argv);
        };
        EXPECT_EQ(run({"init"}).exitCode, 0);
        if (!date.empty()) work.write(name + "/data/date.dat", date + "\r\n");
        test::ProcessRun r = run({"update", "--server", server});
        return {r, folderContents(home / "data")};
    }
};

TEST_F(NginxExport, EveryRequestOfTheClientGetsTheLiveServersReply) {
    const std::string q = "?prog=Vedozer%20Anti-Spyware&comp=Vedozer%20Labs";
    const std::vector<std::string> servedFromFiles = {
        "/asp/currentDateNEW.asp" + q,
        "/asp/date.asp",
        "/asp/getDefsNEW.asp" + q + "&date=3/16/2006",
        "/asp/getDefsNEW.asp" + q + "&date=4/1/2006",
        "/asp/getDefsNEW.asp" + q + "&date=5/15/2006%209:30:00%20AM",
        "/asp/getDefsNEW.asp" + q + "&date=5/15/2006+9:30:00+AM",
        "/asp/getDefsNEW.asp" + q + "&date=6/20/2006%205:15:00%20PM",
        "/asp/getDefsNEW.asp" + q + "&date=6%2F20%2F2006%205%3A15%3A00%20PM",
        "/asp/getDefsNEW.asp" + q + "&date=7/1/2006",
        "/Languages/21/Localization.txt",
        "/Languages/021/Localization.txt",
        "/Languages/22/Localization.txt",
    };
    // Dates the site has no file for go to the live server behind it.
    const std::vector<std::string> forwarded = {
        "/asp/getDefsNEW.asp" + q + "&date=4/15/2006%208:00:00%20AM",
        "/asp/getDefsNEW.asp" + q + "&date=2006-05-15%2009:30:00",
        "/asp/getDefsNEW.asp" + q + "&date=yesterday",
        "/asp/getDefsNEW.asp" + q,
    };
    std::vector<Reply> fromSite;
    for (const auto& target : servedFromFiles) fromSite.push_back(get(nginx->port(), target));
    // None of them reached the live server: its log holds only this request afterwards.
    get(live->port(), "/asp/date.asp?after-the-site");
    std::string log;
    for (int i = 0; i < 500 && log.find("after-the-site") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        log = live->log();
    }
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    for (size_t i = 0; i < servedFromFiles.size(); ++i) {
        Reply fromLive = get(live->port(), servedFromFiles[i]);
        EXPECT_EQ(fromSite[i], fromLive) << servedFromFiles[i];
        EXPECT_NE(fromLive.status, -1) << servedFromFiles[i];
    }
    for (const auto& target : forwarded)
        EXPECT_EQ(get(nginx->port(), target), get(live->port(), target)) << target;
    EXPECT_GT(get(live->port(), "/asp/getDefsNEW.asp?date=3/16/2006").body.size(), 500u)
        << "the feed from the beginning";

    // Submissions pass through to the collector, with the sender's address.
    Reply submitted = get(nginx->port(), "/asp/getData.asp?data=" + EncodeDefinitionLine("odd.exe") + "|");
    EXPECT_EQ(submitted.body, "Added");
    EXPECT_NE(test::readHostFile(work.path() / "subs.txt").find("\t127.0.0.1\todd.exe\r\n"),
              std::string::npos);
}

TEST_F(NginxExport, AnUpdateFromEveryInstalledDateWritesTheSameFilesAsFromTheLiveServer) {
    const std::vector<std::string> installed = {
        "", "4/1/2006", "5/15/2006 9:30:00 AM", "6/20/2006 5:15:00 PM", "7/1/2006", "4/15/2006 8:00:00 AM"};
    int n = 0;
    for (const auto& date : installed) {
        ++n;
        auto [fromLive, liveFiles] = update("live" + std::to_string(n), live->url(), date);
        auto [fromSite, siteFiles] = update("site" + std::to_string(n), nginx->url(), date);
        EXPECT_EQ(fromLive.exitCode, 0) << date << ": " << fromLive.err;
        EXPECT_EQ(fromSite.exitCode, fromLive.exitCode) << date << ": " << fromSite.err;
        EXPECT_EQ(fromSite.out, fromLive.out) << date;
        EXPECT_EQ(siteFiles, liveFiles) << "installed date \"" << date << "\"";
        EXPECT_EQ(liveFiles["date.dat"], "7/1/2006\r\n") << date;
    }
}

}  // namespace
}  // namespace vedozer
