// Submissions: memory that stays the same however many names arrive, and the collector mode a
// static site forwards them to.
#include <gtest/gtest.h>

#include <fstream>

#include "RawHttp.h"
#include "SubmissionLog.h"
#include "definitions/LineCodec.h"
#include "support/DefServerProcess.h"
#include "support/TempDir.h"

namespace vedozer {
namespace {

using namespace std::chrono_literals;

const char* const kServer = VEDOZER_BINARY_DIR "/vedozer-defserver";

std::string payloadOf(const std::vector<std::string>& names) {
    std::string payload;
    for (const auto& n : names) payload += EncodeDefinitionLine(n) + "|";
    return payload;
}

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

size_t countLines(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

// AddressSanitizer keeps freed memory aside on purpose, so resident memory says nothing there.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kResidentMemoryMeansSomething = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kResidentMemoryMeansSomething = false;
#else
constexpr bool kResidentMemoryMeansSomething = true;
#endif
#else
constexpr bool kResidentMemoryMeansSomething = true;
#endif

TEST(SubmissionMemory, DoesNotGrowWithEverySubmittedName) {
    if (!kResidentMemoryMeansSomething) GTEST_SKIP() << "resident memory is not the program's under AddressSanitizer";
    test::TempDir dir;
    server::SubmissionLog log(dir.path() / "subs.txt");
    const long before = residentKilobytes();
    const std::string filler(380, 'n');
    for (int request = 0; request < 120; ++request) {
        std::vector<std::string> names;
        for (int i = 0; i < 1000; ++i)
            names.push_back(filler + std::to_string(request) + "-" + std::to_string(i) + ".exe");
        ASSERT_EQ(log.record(payloadOf(names), "192.0.2.1"), server::SubmissionLog::Result::Added);
    }
    const long grownKb = residentKilobytes() - before;
    // 120,000 names of about 390 bytes: 46 MB of text went to the log file, not into memory.
    EXPECT_LT(grownKb, 12 * 1024) << "resident memory grew by " << grownKb << " KB";
    EXPECT_EQ(log.record(payloadOf({filler + "119-999.exe", filler + "0-0.exe"}), "x"),
              server::SubmissionLog::Result::Skipped);
}

TEST(SubmissionMemory, RecentNamesAreSkippedAndLongForgottenOnesWrittenAgain) {
    test::TempDir dir;
    const auto file = dir.path() / "subs.txt";
    {
        server::SubmissionLog log(file, 3);
        for (const char* n : {"a.exe", "b.exe", "c.exe", "d.exe", "e.exe", "f.exe", "g.exe"})
            EXPECT_EQ(log.record(payloadOf({n}), "s"), server::SubmissionLog::Result::Added) << n;
        EXPECT_EQ(log.record(payloadOf({"g.exe", "f.exe", "e.exe"}), "s"),
                  server::SubmissionLog::Result::Skipped);
        EXPECT_EQ(log.record(payloadOf({"a.exe"}), "s"), server::SubmissionLog::Result::Added)
            << "forgotten long ago";
    }
    EXPECT_EQ(countLines(test::readHostFile(file)), 8u);
    // A restarted server knows the newest names of the log again.
    server::SubmissionLog again(file, 3);
    EXPECT_EQ(again.record(payloadOf({"a.exe", "g.exe"}), "s"), server::SubmissionLog::Result::Skipped);
    EXPECT_EQ(countLines(test::readHostFile(file)), 8u);
}

TEST(Collector, TakesSubmissionsFromBehindAProxyAndNothingElse) {
    test::TempDir dir;
    const std::string subs = (dir.path() / "subs.txt").string();
    test::DefServerProcess collector(kServer, {"--collect-only", "--submissions", subs, "--proxied"});
    ASSERT_TRUE(collector.running());
    std::string target = "/asp/getData.asp?data=";
    for (unsigned char c : payloadOf({"odd.exe"})) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%%%02X", c);
        target += hex;
    }
    std::string reply = test::rawRequest(
        collector.port(), "GET " + target + " HTTP/1.1\r\nHost: x\r\nX-Real-IP: 192.0.2.7\r\n\r\n", 5s);
    EXPECT_NE(reply.find("\r\n\r\nAdded"), std::string::npos) << reply;
    EXPECT_NE(test::readHostFile(subs).find("\t192.0.2.7\todd.exe\r\n"), std::string::npos)
        << test::readHostFile(subs);
    for (const char* path : {"/asp/currentDateNEW.asp", "/asp/getDefsNEW.asp?date=3/16/2006",
                             "/Languages/21/Localization.txt"}) {
        reply = test::rawRequest(collector.port(),
                                 std::string("GET ") + path + " HTTP/1.1\r\nHost: x\r\n\r\n", 5s);
        EXPECT_EQ(reply.rfind("HTTP/1.1 404 Not Found\r\n", 0), 0u) << path << ": " << reply;
        EXPECT_NE(reply.find("\r\n\r\nNot found"), std::string::npos) << reply;
    }

    EXPECT_EQ(test::runProcess({kServer, "--collect-only", "--port", "0"}).exitCode, 2)
        << "no submissions file";
    EXPECT_EQ(test::runProcess(
                  {kServer, "--collect-only", "--repo", dir.str(), "--submissions", subs, "--port", "0"})
                  .exitCode,
              2);
    EXPECT_EQ(test::runProcess({kServer, "--port", "0"}).exitCode, 2)
        << "neither a repository nor collector mode";
}

}  // namespace
}  // namespace vedozer
