#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "definitions/LineCodec.h"
#include "i18n/Languages.h"
#include "platform/image/HttpClient.h"
#include "settings/Settings.h"
#include "submit/Submission.h"
#include "support/DefServerProcess.h"
#include "support/FakeProcessList.h"
#include "support/MemorySettingsStore.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;
const char* const kServerBinary = VEDOZER_BINARY_DIR "/vedozer-defserver";

std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(Submission, TheShiftIsTheDefinitionEncoding) {
    EXPECT_EQ(characterShift("abc"), std::string("\xA1\xA2\xA3"));
    EXPECT_EQ(characterShift(std::string(1, '\xFF')), std::string(1, static_cast<char>(kScrambleOffset)));
    EXPECT_EQ(fileSubmissionPayload("abc"), std::string("\xA1\xA2\xA3|"));
    EXPECT_EQ(fileSubmissionPayload(""), "|");
}

TEST(Submission, AnonymousPayloadLeavesOutTheNeverSentNamesExactly) {
    EXPECT_EQ(anonymousPayload({"System", "System Idle Process", "winlogon.exe", "services.exe", "svchost.exe",
                                "explorer.exe", "firefox.exe", "iexplore.exe"}),
              "");
    EXPECT_EQ(anonymousPayload({"svchost.exe", "spy.exe", "SVCHOST.EXE", "Explorer.exe", "system"}),
              characterShift("spy.exe") + "|" + characterShift("SVCHOST.EXE") + "|" + characterShift("Explorer.exe") +
                  "|" + characterShift("system"));
    EXPECT_EQ(anonymousPayload({"one.exe"}), characterShift("one.exe"));
    EXPECT_EQ(anonymousPayload({}), "");
}

TEST(Submission, UrlsCarryEveryByteSafely) {
    EXPECT_EQ(submissionUrl("http://h:1/", std::string("a|\xA1 %")), "http://h:1/asp/getData.asp?data=a%7C%A1%20%25");
}

TEST(Submission, ProgramNamesComeFromTheProcessListWithoutHostPrograms) {
    test::FakeProcessList processes({"System", "C:\\Windows\\notepad.exe", "spy.exe", "/usr/bin/bash", ""});
    EXPECT_EQ(runningProgramNames(processes), (std::vector<std::string>{"System", "notepad.exe", "spy.exe"}));
}

class SubmissionServer : public ::testing::Test {
protected:
    test::TempDir repo;
    HttpClient http;
    test::ScriptedHost host;
    test::MemorySettingsStore store;
    ProductIdentity identity{"Vedozer Anti-Spyware", "Vedozer Labs", "http://www.vedozer.example"};
    Settings settings{store, identity};
    Languages messages{identity};
    void SetUp() override {
        fs::create_directories(repo.path() / "changes");
        messages.loadDefaultMessages();
    }
    fs::path log() const { return repo.path() / "submissions.txt"; }
};

TEST_F(SubmissionServer, AFileSubmissionIsRecordedOnceAndThanked) {
    test::DefServerProcess server(kServerBinary, repo.str(), log().string());
    ASSERT_TRUE(server.running());
    SubmitResult first = submitFileName(http, host, messages, server.url(), "C:\\Program Files\\Odd Tool\\odd.exe");
    EXPECT_TRUE(first.accepted) << first.error;
    EXPECT_EQ(first.text, "Results: C:\\Program Files\\Odd Tool\\odd.exe Submitted.  Thank you!");
    ASSERT_FALSE(host.notices.empty());
    EXPECT_EQ(host.notices.back().text, first.text);
    SubmitResult again = submitFileName(http, host, messages, server.url(), "C:\\Program Files\\Odd Tool\\odd.exe");
    EXPECT_TRUE(again.accepted) << "\"Skipped\" is a success too";
    std::string recorded = readText(log());
    EXPECT_NE(recorded.find("\t127.0.0.1\tC:\\\\Program Files\\\\Odd Tool\\\\odd.exe\r\n"), std::string::npos) << recorded;
    EXPECT_EQ(recorded.find("odd.exe", recorded.find("odd.exe") + 1), std::string::npos) << "recorded once";
    // Single bytes of the code page survive the trip.
    EXPECT_TRUE(submitFileName(http, host, messages, server.url(), "caf\xE9.exe").accepted);
    EXPECT_NE(readText(log()).find("caf\xE9.exe"), std::string::npos);
}

TEST_F(SubmissionServer, AFailedSubmissionShowsTheProblemText) {
    std::string nowhere = "http://127.0.0.1:" + std::to_string(test::unusedPort());
    SubmitResult r = submitFileName(http, host, messages, nowhere, "odd.exe");
    EXPECT_FALSE(r.accepted);
    EXPECT_EQ(r.text, "Results: There was a problem submitting odd.exe.  Please make sure you are connected to the "
                      "internet, or try again later.");
    EXPECT_FALSE(r.error.empty());
    test::DefServerProcess server(kServerBinary, repo.str(), log().string());
    ASSERT_TRUE(server.running());
    EXPECT_FALSE(submitFileName(http, host, messages, server.url(), "").accepted) << "nothing to submit";
    EXPECT_FALSE(submitFileName(http, host, messages, server.url(), "  ").accepted);
    EXPECT_EQ(server.log().find("getData"), std::string::npos) << "an empty name is refused before any request";
}

TEST_F(SubmissionServer, AnonymousDataIsSentOnlyWhenEnabledAndNotEmpty) {
    test::DefServerProcess server(kServerBinary, repo.str(), log().string());
    ASSERT_TRUE(server.running());
    test::FakeProcessList onlyNeverSent({"System", "svchost.exe", "explorer.exe"});
    EXPECT_FALSE(sendAnonymousData(http, onlyNeverSent, settings, host, server.url()));
    EXPECT_EQ(server.log().find("getData"), std::string::npos) << "no request at all";

    test::FakeProcessList running({"System", "spy.exe", "C:\\Tools\\helper.exe", "/usr/sbin/sshd"});
    settings.save("OptionAndSettings", "chkSendData", "0");
    EXPECT_FALSE(anonymousDataEnabled(settings));
    EXPECT_FALSE(sendAnonymousData(http, running, settings, host, server.url()));
    EXPECT_FALSE(fs::exists(log()));

    settings.save("OptionAndSettings", "chkSendData", "1");
    EXPECT_TRUE(sendAnonymousData(http, running, settings, host, server.url()));
    std::string recorded = readText(log());
    EXPECT_NE(recorded.find("\tspy.exe\r\n"), std::string::npos) << recorded;
    EXPECT_NE(recorded.find("\thelper.exe\r\n"), std::string::npos) << recorded;
    EXPECT_EQ(recorded.find("System"), std::string::npos);
    EXPECT_EQ(recorded.find("sshd"), std::string::npos);
}

TEST_F(SubmissionServer, TheDefaultIsToSend) {
    EXPECT_TRUE(anonymousDataEnabled(settings));
    settings.save("OptionAndSettings", "chkSendData", "True");
    EXPECT_FALSE(anonymousDataEnabled(settings)) << "only the number 1 enables it";
}

TEST_F(SubmissionServer, ClearingTheBoxAsksFirst) {
    host.answer(Answer::No);
    EXPECT_TRUE(setSendAnonymousData(false, settings, messages, host));
    EXPECT_EQ(settings.get("OptionAndSettings", "chkSendData"), "1");
    ASSERT_EQ(host.asked().size(), 1u);
    const auto& box = host.asked()[0];
    EXPECT_EQ(box.title, "Really turn off anonymous data collection?");
    EXPECT_EQ(box.buttons, Buttons::YesNo);
    EXPECT_EQ(box.text, messages.getMessages("MSG_ANON1") + "\r\n\r\n" + messages.getMessages("MSG_ANON2") + "\r\n\r\n" +
                            messages.getMessages("MSG_ANON3"));

    host.answer(Answer::Yes);
    EXPECT_FALSE(setSendAnonymousData(false, settings, messages, host));
    EXPECT_EQ(settings.get("OptionAndSettings", "chkSendData"), "0");

    EXPECT_TRUE(setSendAnonymousData(true, settings, messages, host));
    EXPECT_EQ(settings.get("OptionAndSettings", "chkSendData"), "1");
    EXPECT_EQ(host.asked().size(), 2u) << "ticking the box asks nothing";
}

}  // namespace
}  // namespace vedozer
