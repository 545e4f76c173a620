// The definition server's front door under clients that misbehave: slow or silent ones, a second
// server on the same address, hostile bytes in the request log.
#include <gtest/gtest.h>

#include <memory>

#include "RawHttp.h"
#include "support/DefServerProcess.h"
#include "support/TempDir.h"

namespace vedozer {
namespace {

using namespace std::chrono_literals;

const char* const kServer = VEDOZER_BINARY_DIR "/vedozer-defserver";
const std::string kDateRequest = "GET /asp/currentDateNEW.asp?prog=P&comp=C HTTP/1.1\r\nHost: x\r\n\r\n";

class FrontDoor : public ::testing::Test {
protected:
    test::TempDir repo;
    void SetUp() override { repo.write("changes/2006-04-01.txt", "ADD COOK tracker.example\n"); }
};

TEST_F(FrontDoor, ASecondServerOnTheSameAddressIsRefused) {
    test::DefServerProcess first(kServer, repo.str());
    ASSERT_TRUE(first.running());
    test::ProcessRun second = test::runProcess(
        {kServer, "--repo", repo.str(), "--port", std::to_string(first.port()), "--bind", "127.0.0.1"}, 10);
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_NE(second.err.find("cannot listen on 127.0.0.1:" + std::to_string(first.port()) +
                              ": address already in use"),
              std::string::npos)
        << second.err;
    EXPECT_NE(test::rawRequest(first.port(), kDateRequest, 5s).find("4/1/2006 12:00:00 AM"),
              std::string::npos);
}

TEST_F(FrontDoor, TwoHundredSlowClientsDoNotStarveANormalOne) {
    test::DefServerProcess server(kServer, {"--repo", repo.str(), "--quiet"});
    ASSERT_TRUE(server.running());
    std::vector<std::unique_ptr<test::RawConnection>> slow;
    for (int i = 0; i < 200; ++i) {
        slow.push_back(std::make_unique<test::RawConnection>(server.port()));
        ASSERT_TRUE(slow.back()->connected()) << i;
        ASSERT_TRUE(slow.back()->send("GET /asp/date.asp HTTP/1.1\r\nHost: x\r\n"));
    }
    for (int round = 0; round < 3; ++round) {
        std::string reply = test::rawRequest(server.port(), kDateRequest, 5s);
        EXPECT_NE(reply.find("HTTP/1.1 200 OK"), std::string::npos) << "round " << round << ": " << reply;
        EXPECT_NE(reply.find("\r\n\r\n4/1/2006 12:00:00 AM"), std::string::npos) << reply;
        for (auto& c : slow) c->send("X");  // the slow ones go on, a byte at a time
    }
}

TEST_F(FrontDoor, ARequestHeadSentAByteAtATimeIsCutOffAtTheDeadline) {
    test::DefServerProcess server(kServer, {"--repo", repo.str(), "--header-timeout", "1"});
    ASSERT_TRUE(server.running());
    test::RawConnection c(server.port());
    ASSERT_TRUE(c.send("GET /asp/date.asp HTTP/1.1\r\n"));
    // Every single read is short, so only a deadline on the whole head ends this.
    std::string reply;
    bool ended = false;
    const auto start = std::chrono::steady_clock::now();
    while (!ended && std::chrono::steady_clock::now() - start < 10s) {
        c.send("X");
        ended = c.waitForReplyOrClose(100ms, reply);
    }
    ASSERT_TRUE(ended) << "still connected after 10 s";
    EXPECT_EQ(reply.rfind("HTTP/1.1 408 Request Timeout\r\n", 0), 0u) << reply;
    EXPECT_NE(server.log().find("127.0.0.1 408 Request Timeout (request head not complete in time)"),
              std::string::npos)
        << server.log();
    EXPECT_NE(test::rawRequest(server.port(), kDateRequest, 5s).find("200 OK"), std::string::npos);
}

TEST_F(FrontDoor, PastTheWaitingLimitTheLongestWaitingConnectionMakesRoom) {
    test::DefServerProcess server(kServer, {"--repo", repo.str(), "--max-waiting", "10", "--quiet"});
    ASSERT_TRUE(server.running());
    std::vector<std::unique_ptr<test::RawConnection>> silent;
    for (int i = 0; i < 30; ++i) silent.push_back(std::make_unique<test::RawConnection>(server.port()));
    EXPECT_NE(test::rawRequest(server.port(), kDateRequest, 5s).find("200 OK"), std::string::npos);
    std::string reply;
    ASSERT_TRUE(silent.front()->waitForReplyOrClose(5s, reply));
    EXPECT_EQ(reply.rfind("HTTP/1.1 503 Service Unavailable\r\n", 0), 0u) << reply;
}

TEST_F(FrontDoor, TheRequestLogEscapesControlCharacters) {
    test::DefServerProcess server(kServer, repo.str());
    ASSERT_TRUE(server.running());
    std::string reply = test::rawRequest(
        server.port(), "GET /asp/date.asp?t=\x1b]0;owned\x07\\\xff HTTP/1.1\r\nHost: x\r\n\r\n", 5s);
    EXPECT_NE(reply.find("200 OK"), std::string::npos) << reply;
    const std::string log = server.log();
    EXPECT_NE(log.find("GET /asp/date.asp?t=\\x1B]0;owned\\x07\\\\\\xFF 200 20\n"), std::string::npos) << log;
    EXPECT_EQ(log.find('\x1b'), std::string::npos);
    EXPECT_EQ(log.find('\x07'), std::string::npos);
}

}  // namespace
}  // namespace vedozer
