// Live Update against a real vedozer-defserver on 127.0.0.1.
#include <gtest/gtest.h>

#include <filesystem>

#include "BuildIdentity.h"
#include "DefTestFiles.h"
#include "definitions/DefinitionFiles.h"
#include "i18n/LocalizationFile.h"
#include "i18n/Languages.h"
#include "platform/image/HttpClient.h"
#include "platform/image/ImageFileSystem.h"
#include "settings/Settings.h"
#include "support/DefServerProcess.h"
#include "support/MemorySettingsStore.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"
#include "update/LanguageDownload.h"
#include "update/LiveUpdate.h"
#include "update/UpdateUrls.h"
#include "update/UrlFetch.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;

const char* const kServerBinary = VEDOZER_BINARY_DIR "/vedozer-defserver";

const char* const kFirstSet =
    "# first\n"
    "ADD FILE tbhelper.dll=Toolbar Helper|[windir]\\system32|Adware\n"
    "ADD EXE popmaster.exe=PopMaster|[programfiles]\\PopMaster\n"
    "ADD REG 2^Software\\PopMaster=PopMaster|Adware\n"
    "ADD REG 1^Software\\Run^PopMaster=PopMaster|Startup entry\n"
    "ADD COOK tracker.example.net\n"
    "ADD DIR PopMaster folder=PopMaster|[programfiles]\\PopMaster|Adware\n"
    "ADD SFILE notepad.exe|[windir]\\notepad.exe\n";
const char* const kSecondSet =
    "ADD DLL searchbar.dll=SearchBar Plus|[programfiles]\\SearchBar|Browser hijacker\r\n"
    "ADD COOK ads.example.org\r\n"
    "DEL FILE TBHELPER.DLL\r\n"
    "DEL REG 1^Software\\Run^PopMaster\r\n"
    "DEL SFILE notepad.exe|[windir]\\notepad.exe\r\n";

class LiveUpdateServer : public ::testing::Test {
protected:
    test::TempDir repo, data;
    HostFileSystem files;
    HttpClient http;
    test::ScriptedHost host;

    void SetUp() override {
        fs::create_directories(repo.path() / "changes");
        repo.write("changes/2006-04-01.txt", kFirstSet);
        repo.write("changes/2006-05-15_093000.txt", kSecondSet);
    }
    LiveUpdateContext context(const std::string& server) {
        HttpOptions options;
        options.connectTimeoutSeconds = 2;
        options.readTimeoutSeconds = 5;
        return LiveUpdateContext{http, files, data.str(), host, ProductIdentity{"Vedozer Anti-Spyware", "Vedozer Labs", "http://www.vedozer.example"},
                                 server, options};
    }
    std::vector<std::string> lines(const std::string& name) { return test::readDefinitions(data.path() / name); }
    std::map<std::string, std::string> snapshot() {
        std::map<std::string, std::string> m;
        for (const auto& e : fs::directory_iterator(data.path())) m[e.path().filename().string()] = test::readHost(e.path());
        return m;
    }
};

TEST_F(LiveUpdateServer, ANewerServerInstallsTheFeedAndItsDateTogether) {
    test::DefServerProcess server(kServerBinary, repo.str());
    ASSERT_TRUE(server.running());
    test::writeDefinitions(data.path() / "FileDefinition.dat", {"old.exe=Old|c:\\old"});
    auto c = context(server.url());
    UpdateCheckResult r = checkForUpdates(c);
    ASSERT_EQ(r.state, UpdateCheckState::Updated) << r.error;
    EXPECT_EQ(r.installedDate, "3/16/2006");
    EXPECT_EQ(r.serverDate, "5/15/2006 9:30:00 AM");
    EXPECT_EQ(r.newDate, "5/15/2006 9:30:00 AM");
    EXPECT_EQ(test::readHost(data.path() / "date.dat"), "5/15/2006 9:30:00 AM\r\n");
    // 9 records added (EXE twice), file, registry and safe-list removal passes.
    EXPECT_EQ(r.count, 13);
    EXPECT_EQ(lines("FileDefinition.dat"),
              (std::vector<std::string>{"old.exe=Old|c:\\old", "popmaster.exe=PopMaster|[programfiles]\\PopMaster",
                                        "searchbar.dll=SearchBar Plus|[programfiles]\\SearchBar|Browser hijacker"}));
    EXPECT_EQ(lines("ExeDefinition.dat"), (std::vector<std::string>{"popmaster.exe=PopMaster|[programfiles]\\PopMaster"}));
    EXPECT_EQ(lines("RegistryDefinition.dat"), (std::vector<std::string>{"2^Software\\PopMaster^=PopMaster|Adware"}));
    EXPECT_EQ(lines("BlockedCookies.dat"), (std::vector<std::string>{"tracker.example.net", "ads.example.org"}));
    EXPECT_EQ(lines("DirectoryDefinition.dat"),
              (std::vector<std::string>{"PopMaster folder=PopMaster|[programfiles]\\PopMaster|Adware"}));
    EXPECT_TRUE(lines("Safety.dat").empty());
    EXPECT_EQ(host.lastUpdateText(UpdatePhase::Installed), "5/15/2006 9:30:00 AM PST");
    EXPECT_EQ(host.updateProgress.front().phase, UpdatePhase::Connecting);
    EXPECT_EQ(host.updateProgress.front().text, "Connecting to the definition server, please wait.");
    std::string log = server.log();
    EXPECT_NE(log.find("GET /asp/currentDateNEW.asp?prog=Vedozer%20Anti-Spyware&comp=Vedozer%20Labs 200"), std::string::npos) << log;
    EXPECT_NE(log.find("GET /asp/getDefsNEW.asp?prog=Vedozer%20Anti-Spyware&comp=Vedozer%20Labs&date=3/16/2006 200"), std::string::npos) << log;
    EXPECT_NE(log.find("GET /asp/date.asp 200"), std::string::npos) << log;

    // The same server again: nothing newer, nothing fetched, nothing changed.
    auto before = snapshot();
    UpdateCheckResult again = checkForUpdates(c);
    EXPECT_EQ(again.state, UpdateCheckState::UpToDate);
    EXPECT_EQ(again.count, 0);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(LiveUpdateServer, OnlyChangesAfterTheInstalledDateAreFetched) {
    test::DefServerProcess server(kServerBinary, repo.str());
    ASSERT_TRUE(server.running());
    test::writeHost(data.path() / "date.dat", "4/1/2006 10:00:00 AM\r\n");
    test::writeDefinitions(data.path() / "FileDefinition.dat", {"tbhelper.dll=Toolbar Helper|[windir]\\system32|Adware", "x=X|y"});
    auto c = context(server.url());
    UpdateCheckResult r = checkForUpdates(c);
    ASSERT_EQ(r.state, UpdateCheckState::Updated) << r.error;
    EXPECT_EQ(lines("FileDefinition.dat"),
              (std::vector<std::string>{"x=X|y", "searchbar.dll=SearchBar Plus|[programfiles]\\SearchBar|Browser hijacker"}));
    EXPECT_EQ(lines("BlockedCookies.dat"), (std::vector<std::string>{"ads.example.org"}));
    EXPECT_NE(server.log().find("date=4/1/2006%2010:00:00%20AM 200"), std::string::npos) << server.log();
}

TEST_F(LiveUpdateServer, AnEqualDateFetchesNothing) {
    test::DefServerProcess server(kServerBinary, repo.str());
    ASSERT_TRUE(server.running());
    test::writeHost(data.path() / "date.dat", "5/15/2006 9:30:00 AM\r\n");
    auto before = snapshot();
    auto c = context(server.url());
    test::MemorySettingsStore store;
    Settings settings(store, c.identity);
    Languages messages(c.identity);
    messages.loadDefaultMessages();
    DefinitionSet set;
    LiveUpdateReport report = RunLiveUpdate(c, settings, messages, set);
    EXPECT_EQ(report.outcome, LiveUpdateOutcome::UpToDate);
    EXPECT_EQ(report.message, "You are using the most recent Vedozer Anti-Spyware definitions.");
    EXPECT_EQ(host.lastUpdateText(UpdatePhase::Finished), report.message);
    EXPECT_EQ(liveUpdateExitCode(report), 0);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(server.log().find("getDefsNEW"), std::string::npos);
    EXPECT_TRUE(store.userWrites.empty()) << "SHOW and RESTART are only recorded after an update";
}

TEST_F(LiveUpdateServer, RunLiveUpdateRecordsTheUpdateAndRecountsTheDefinitions) {
    test::DefServerProcess server(kServerBinary, repo.str());
    ASSERT_TRUE(server.running());
    auto c = context(server.url());
    test::MemorySettingsStore store;
    Settings settings(store, c.identity);
    Languages messages(c.identity);
    messages.loadDefaultMessages();
    DefinitionSet set;
    LiveUpdateReport report = RunLiveUpdate(c, settings, messages, set);
    ASSERT_EQ(report.outcome, LiveUpdateOutcome::Updated) << report.check.error;
    EXPECT_EQ(report.message, "Your Vedozer Anti-Spyware definitions have been updated!");
    EXPECT_EQ(host.lastUpdateText(UpdatePhase::Finished), report.message);
    EXPECT_EQ(settings.get("OptionAndSettings", "SHOW"), "True");
    EXPECT_EQ(settings.get("OptionAndSettings", "RESTART"), "True");
    // File 2, exe 1, registry 1, cookies 2, folders 1.
    EXPECT_EQ(report.definitionTotal, 7);
    EXPECT_EQ(set.total, 7);
    EXPECT_EQ(set.cookieCount, 2);
    EXPECT_EQ(liveUpdateExitCode(report), 0);
}

TEST_F(LiveUpdateServer, AnUnreachableServerChangesNothingAndSaysSo) {
    test::writeDefinitions(data.path() / "FileDefinition.dat", {"a=A|b"});
    auto before = snapshot();
    auto c = context("http://127.0.0.1:" + std::to_string(test::unusedPort()));
    test::MemorySettingsStore store;
    Settings settings(store, c.identity);
    Languages messages(c.identity);
    messages.loadDefaultMessages();
    DefinitionSet set;
    LiveUpdateReport report = RunLiveUpdate(c, settings, messages, set);
    EXPECT_EQ(report.outcome, LiveUpdateOutcome::Unreachable);
    EXPECT_EQ(report.check.count, 0);
    EXPECT_EQ(report.message, "You are using the most recent Vedozer Anti-Spyware definitions.");
    EXPECT_EQ(liveUpdateExitCode(report), 2);
    EXPECT_NE(describeUpdateProblem(report.check).find("could not be reached"), std::string::npos);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(FetchUrlText(http, c.server + "/asp/date.asp", host), "");
}

TEST_F(LiveUpdateServer, TheServerPicksUpNewChangeSetsAndRefusesBadOnes) {
    test::DefServerProcess server(kServerBinary, repo.str());
    ASSERT_TRUE(server.running());
    auto c = context(server.url());
    ASSERT_EQ(checkForUpdates(c).state, UpdateCheckState::Updated);
    repo.write("changes/2006-06-01_120000.txt", "ADD COOK new.example\n");
    UpdateCheckResult r = checkForUpdates(c);
    ASSERT_EQ(r.state, UpdateCheckState::Updated) << r.error;
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(test::readHost(data.path() / "date.dat"), "6/1/2006 12:00:00 PM\r\n");
    EXPECT_EQ(lines("BlockedCookies.dat").back(), "new.example");

    // A bad change set is reported and the last good repository stays in service.
    repo.write("changes/2006-07-01.txt", "ADD COOK fine.example\nREMOVE FILE x\n");
    EXPECT_EQ(checkForUpdates(c).state, UpdateCheckState::UpToDate);
    EXPECT_NE(server.log().find("2006-07-01.txt:2: the action must be ADD or DEL"), std::string::npos) << server.log();

    test::ProcessRun refused = test::runProcess({kServerBinary, "--repo", repo.str(), "--port", "0"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("2006-07-01.txt:2"), std::string::npos) << refused.err;
    for (const char* bad : {"ADD FILE a<b=x|y\n", "ADD REG nohive=x|y\n", "ADD XYZ a=b\n", "DEL FILE\n",
                            "ADD FILE a\x01=b|c\n", "ADD SFILE onlyname\n"}) {
        repo.write("changes/2006-07-01.txt", bad);
        EXPECT_EQ(test::runProcess({kServerBinary, "--repo", repo.str(), "--port", "0"}).exitCode, 1) << bad;
    }
}

TEST_F(LiveUpdateServer, TheServerAnswersBadRequestsWithoutData) {
    test::DefServerProcess server(kServerBinary, repo.str());
    ASSERT_TRUE(server.running());
    FetchOutcome badDate = fetchUrl(http, server.url() + "/asp/getDefsNEW.asp?prog=a&comp=b&date=yesterday", host, false);
    EXPECT_FALSE(badDate.reached);
    EXPECT_EQ(badDate.status, 400);
    EXPECT_EQ(fetchUrl(http, server.url() + "/Languages/22/Localization.txt", host, false).status, 404);
    EXPECT_EQ(fetchUrl(http, server.url() + "/asp/getDefsNEW.asp?date=12/31/2099", host, false).text, "");
}

TEST_F(LiveUpdateServer, TheLanguageFileIsServed) {
    repo.write("Languages/21/Localization.txt", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<TRANSLATION_ITEMS>\r\n");
    test::DefServerProcess server(kServerBinary, repo.str());
    ASSERT_TRUE(server.running());
    EXPECT_EQ(localizationUrl(server.url()), server.url() + "/Languages/21/Localization.txt");
    std::string text = FetchUrlText(http, localizationUrl(server.url()), host);
    EXPECT_NE(text.find("<TRANSLATION_ITEMS>"), std::string::npos);
}

TEST(UpdateUrls, RequestsCarryTheIdentityWithBlanksEscaped) {
    UpdateUrls u = buildUpdateUrls("http://defs.example:8080/", ProductIdentity{"Two Words", "Big  Co", "x"});
    EXPECT_EQ(u.currentDate, "http://defs.example:8080/asp/currentDateNEW.asp?prog=Two%20Words&comp=Big%20%20Co");
    EXPECT_EQ(u.feed, "http://defs.example:8080/asp/getDefsNEW.asp?prog=Two%20Words&comp=Big%20%20Co&date=");
    EXPECT_EQ(u.newDate, "http://defs.example:8080/asp/date.asp");
    EXPECT_EQ(escapeBlanks("a&b c"), "a&b%20c");
}

TEST(UpdateUrls, ServerAddressComesFromOptionThenSettingThenBuild) {
    test::MemorySettingsStore store;
    Settings settings(store, ProductIdentity{"P", "C", "W"});
    EXPECT_EQ(definitionServerAddress("", nullptr), VEDOZER_BUILD_DEFAULT_SERVER);
    EXPECT_EQ(definitionServerAddress("", &settings), VEDOZER_BUILD_DEFAULT_SERVER);
    settings.save("Settings", "DefinitionServer", "http://mirror.example/");
    EXPECT_EQ(definitionServerAddress("", &settings), "http://mirror.example");
    EXPECT_EQ(definitionServerAddress("http://cli.example:81", &settings), "http://cli.example:81");
}

TEST(UpdateUrls, ShowUpdateUrlsListsTheEightDefinitionPages) {
    EXPECT_EQ(updateSiteBase("http://vedozer.example/products/", "http://vendor.example"), "http://www.vedozer.example");
    EXPECT_EQ(updateSiteBase("HTTP://www.vedozer.example", "http://vendor.example"), "http://www.vedozer.example");
    EXPECT_EQ(updateSiteBase("vedozer.example/a/b", "http://vendor.example"), "http://www.vedozer.example");
    EXPECT_EQ(updateSiteBase("[Website]", "http://vendor.example"), "http://vendor.example");
    EXPECT_EQ(updateSiteBase("", "http://vendor.example"), "http://vendor.example");
    test::ScriptedHost host;
    host.answer(Answer::Ok);
    ShowUpdateUrls(ProductIdentity{"Prog", "Co", "http://vedozer.example/x"}, host);
    ASSERT_EQ(host.asked().size(), 1u);
    EXPECT_EQ(host.asked()[0].title, "Prog");
    EXPECT_EQ(host.asked()[0].buttons, Buttons::Ok);
    EXPECT_EQ(host.asked()[0].text,
              "http://www.vedozer.example/definitions/version/R.HTM\r\n"
              "http://www.vedozer.example/definitions/version/F.HTM\r\n"
              "http://www.vedozer.example/definitions/version/E.HTM\r\n"
              "http://www.vedozer.example/definitions/version/C.HTM\r\n"
              "http://www.vedozer.example/definitions/data/BlockedCookies.dat\r\n"
              "http://www.vedozer.example/definitions/data/RegistryDefinition.dat\r\n"
              "http://www.vedozer.example/definitions/data/FileDefinition.dat\r\n"
              "http://www.vedozer.example/definitions/data/ExeDefinition.dat\r\n");
    EXPECT_TRUE(isShowUpdateUrlsChord(true, false, false));
    EXPECT_FALSE(isShowUpdateUrlsChord(true, true, false));
    EXPECT_FALSE(isShowUpdateUrlsChord(false, false, false));
}

}  // namespace
}  // namespace vedozer

namespace vedozer {
namespace {

TEST_F(LiveUpdateServer, ALanguageFileReplacesTheOldOneOnlyWhenItIsOne) {
    const std::string file = (data.path() / "Localization.txt").string();
    test::writeHost(file, "old file");
    {
        test::DefServerProcess server(kServerBinary, repo.str());
        ASSERT_TRUE(server.running());
        EXPECT_FALSE(downloadLocalizationFile(http, host, files, file, server.url()).replaced)
            << "no language file on the server";
        EXPECT_EQ(test::readHost(file), "old file");
    }
    const std::string language = makeLocalizationFile({{"MSG_STOP", "Stop?"}});
    repo.write("Languages/21/Localization.txt", "\xEF\xBB\xBF" + language);
    test::DefServerProcess server(kServerBinary, repo.str());
    ASSERT_TRUE(server.running());
    EXPECT_TRUE(downloadLocalizationFile(http, host, files, file, server.url()).replaced);
    EXPECT_EQ(test::readHost(file), language) << "text before the first < dropped";
    EXPECT_FALSE(localizationFromReply("<html>Not here</html>"));
}

}  // namespace
}  // namespace vedozer
