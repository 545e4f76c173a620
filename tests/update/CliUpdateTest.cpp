// `vedozer update` and `vedozer submit` as a user runs them, against a real vedozer-defserver.
#include <gtest/gtest.h>

#include <filesystem>

#include "DefTestFiles.h"
#include "support/DefServerProcess.h"
#include "support/TempDir.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;

class CliUpdate : public ::testing::Test {
protected:
    test::TempDir repo, home;
    void SetUp() override {
        repo.write("changes/2006-04-01.txt", "ADD COOK tracker.example.net\nADD EXE pop.exe=Pop|[windir]\n");
        fs::create_directories(home.path() / "data");
        fs::create_directories(home.path() / "config");
    }
    test::ProcessRun vedozer(std::vector<std::string> args) {
        std::vector<std::string> argv = {VEDOZER_BINARY_DIR "/vedozer", "--data-dir", (home.path() / "data").string(),
                                         "--config-dir", (home.path() / "config").string(), "--machine-config-dir",
                                         (home.path() / "config").string()};
        argv.insert(argv.end(), args.begin(), args.end());
        return test::runProcess(argv);
    }
};

TEST_F(CliUpdate, PrintsTheStepsAndTellsTheTruthInItsExitCode) {
    test::DefServerProcess server(VEDOZER_BINARY_DIR "/vedozer-defserver", repo.str(), (repo.path() / "subs.txt").string());
    ASSERT_TRUE(server.running());
    test::ProcessRun first = vedozer({"update", "--server", server.url()});
    EXPECT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.out,
              "Connecting to the definition server, please wait.\n"
              "Applying new updates...\n"
              "Your Vedozer Anti-Spyware definitions have been updated!\n"
              "Definitions: 3, dated 4/1/2006 PST (3 changes)\n");
    EXPECT_EQ(test::readHost(home.path() / "data" / "date.dat"), "4/1/2006\r\n");

    test::ProcessRun second = vedozer({"update", "--server", server.url()});
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_NE(second.out.find("You are using the most recent Vedozer Anti-Spyware definitions.\n"), std::string::npos);

    // The server address can come from the settings.
    ASSERT_EQ(vedozer({"settings", "set", "Settings", "DefinitionServer", server.url()}).exitCode, 0);
    EXPECT_EQ(vedozer({"update"}).exitCode, 0);

    test::ProcessRun submitted = vedozer({"submit", "odd.exe"});
    EXPECT_EQ(submitted.exitCode, 0) << submitted.err;
    EXPECT_EQ(submitted.out, "Results: odd.exe Submitted.  Thank you!\n");
    EXPECT_NE(test::readHost(repo.path() / "subs.txt").find("\todd.exe\r\n"), std::string::npos);
}

TEST_F(CliUpdate, AnUnreachableServerIsExitCodeTwo) {
    std::string nowhere = "http://127.0.0.1:" + std::to_string(test::unusedPort());
    test::ProcessRun r = vedozer({"update", "--server", nowhere});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ((r.out + r.err).find("most recent"), std::string::npos) << "a failure never passes for an update";
    EXPECT_NE(r.err.find("could not be reached"), std::string::npos) << r.err;
    test::ProcessRun s = vedozer({"submit", "odd.exe", "--server", nowhere});
    EXPECT_EQ(s.exitCode, 2);
    EXPECT_NE(s.out.find("There was a problem submitting odd.exe."), std::string::npos) << s.out;
}

}  // namespace
}  // namespace vedozer
