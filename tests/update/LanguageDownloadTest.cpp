// "Check for language updates" against a real vedozer-defserver on 127.0.0.1.
#include <gtest/gtest.h>

#include <filesystem>

#include "i18n/LocalizationCheck.h"
#include "platform/image/HttpClient.h"
#include "platform/image/ImageFileSystem.h"
#include "support/DefServerProcess.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"
#include "update/LanguageDownload.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;

const char* const kServerBinary = VEDOZER_BINARY_DIR "/vedozer-defserver";

std::string shippedFile() { return test::readHostFile(fs::path(VEDOZER_SOURCE_DIR) / "data/Localization.txt"); }

class LanguageDownload : public ::testing::Test {
protected:
    test::TempDir repo, program;
    HostFileSystem files;
    HttpClient http;
    test::ScriptedHost host;
    std::string ours;
    const std::string old = "<old file, kept until a usable one arrives/>";

    void SetUp() override {
        fs::create_directories(repo.path() / "changes");
        ours = program.write("Localization.txt", old).string();
    }
    LanguageDownloadResult download(const std::string& server) {
        return downloadLocalizationFile(http, host, files, ours, server);
    }
    // Nothing but the file itself in the program's folder: no leftovers of a write aside.
    std::vector<std::string> programFolder() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(program.path())) names.push_back(e.path().filename().string());
        return names;
    }
};

TEST_F(LanguageDownload, AReplyThatCannotBeUsedLeavesOurFileWhole) {
    std::string cut = shippedFile();
    cut.resize(cut.find("\r\n", cut.size() / 2) + 2);
    std::string unknownKey = shippedFile();
    unknownKey.insert(unknownKey.find("\t</TRANSLATION_ITEMS>"), "\t\t<MSG_FROM_A_LATER_VERSION>x</MSG_FROM_A_LATER_VERSION>\r\n");
    const std::vector<std::pair<std::string, std::string>> replies{
        {"<html><body>Moved</body></html>", "did not answer with a language file"},
        {cut, "is cut short"},
        {unknownKey, "MSG_FROM_A_LATER_VERSION is not a text of this program"},
        {"<TRANSLATION_ITEMS>\xFF\xFE", "not UTF-8"},
    };
    // (A usable reply replacing the file is LiveUpdateServer.ALanguageFileReplacesTheOldOneOnlyWhenItIsOne.)
    for (const auto& [reply, says] : replies) {
        repo.write("Languages/21/Localization.txt", reply);
        test::DefServerProcess server(kServerBinary, repo.str());
        ASSERT_TRUE(server.running());
        LanguageDownloadResult result = download(server.url());
        EXPECT_FALSE(result.replaced) << says;
        EXPECT_NE(result.error.find(says), std::string::npos) << result.error;
        EXPECT_EQ(result.error.rfind(server.url() + "/Languages/21/Localization.txt", 0), 0u) << result.error;
        EXPECT_EQ(test::readHostFile(ours), old);
    }
    EXPECT_EQ(programFolder(), std::vector<std::string>{"Localization.txt"});
    EXPECT_FALSE(download("http://127.0.0.1:" + std::to_string(test::unusedPort())).replaced);
    EXPECT_EQ(test::readHostFile(ours), old);
}

TEST(LanguageServer, TheServerWarnsOfLanguageFilesClientsWouldRefuse) {
    test::TempDir repo;
    fs::create_directories(repo.path() / "changes");
    repo.write("Languages/21/Localization.txt", shippedFile());
    repo.write("Languages/22/Localization.txt", "<LANGUAGE_GROUP>\r\n");
    const std::string warning = "vedozer-defserver: warning: clients will refuse Languages/22/Localization.txt: line 1: "
                                "the language group without a name (line 1) is cut short";
    test::ProcessRun run =
        test::runProcess({kServerBinary, "export", "--repo", repo.str(), "--out", (repo.path() / "site").string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find(warning), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("Languages/21"), std::string::npos) << run.err;

    test::DefServerProcess server(kServerBinary, repo.str());
    ASSERT_TRUE(server.running());
    EXPECT_NE(server.log().find(warning), std::string::npos) << server.log();
}

}  // namespace
}  // namespace vedozer
