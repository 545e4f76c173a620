// The HTTP client and the update check against servers that misbehave: a real cpp-httplib
// server inside the test, on 127.0.0.1.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "DefTestFiles.h"
#include "platform/image/HttpClient.h"
#include "platform/image/ImageFileSystem.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"
#include "update/LiveUpdate.h"
#include "update/UrlFetch.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// A server on a free port of 127.0.0.1, running until the test ends.
class TestServer {
public:
    httplib::Server server;
    TestServer() {}
    void start() {
        m_port = server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { server.listen_after_bind(); });
        while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~TestServer() {
        m_stopping = true;
        server.stop();
        if (m_thread.joinable()) m_thread.join();
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    int port() const { return m_port; }
    std::atomic<bool> m_stopping{false};

private:
    int m_port = 0;
    std::thread m_thread;
};

// A server on 127.0.0.1 that answers every connection with a status line and then one header byte
// every 200 ms, for at most 20 seconds: no read ever waits long, yet the head never ends.
class HeaderTrickleServer {
public:
    HeaderTrickleServer() {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(m_listener, 8);
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&addr), &len);
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~HeaderTrickleServer() {
        m_stopping = true;
        m_thread.join();
        ::close(m_listener);
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/asp/currentDateNEW.asp"; }

private:
    void serve() {
        while (!m_stopping) {
            pollfd p{m_listener, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            int c = ::accept(m_listener, nullptr, nullptr);
            if (c < 0) continue;
            const char head[] = "HTTP/1.1 200 OK\r\nX-Slow: ";
            ::send(c, head, sizeof head - 1, MSG_NOSIGNAL);
            for (int i = 0; i < 100 && !m_stopping; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                if (::send(c, "a", 1, MSG_NOSIGNAL) != 1) break;
            }
            ::close(c);
        }
    }
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};

HttpOptions quickOptions() {
    HttpOptions o;
    o.connectTimeoutSeconds = 2;
    o.readTimeoutSeconds = 1;
    o.totalTimeoutSeconds = 3;
    o.maxBytes = 1 << 20;
    return o;
}

TEST(HttpUrl, SplitsAbsoluteHttpAndHttpsAddresses) {
    auto u = parseHttpUrl("http://127.0.0.1:8080/asp/x.asp?a=b c&d=3/16/2006 12:00:00 AM#frag");
    ASSERT_TRUE(u);
    EXPECT_EQ(u->scheme, "http");
    EXPECT_EQ(u->host, "127.0.0.1");
    EXPECT_EQ(u->port, 8080);
    EXPECT_EQ(u->target, "/asp/x.asp?a=b%20c&d=3/16/2006%2012:00:00%20AM");
    auto s = parseHttpUrl("HTTPS://defs.example");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->scheme, "https");
    EXPECT_EQ(s->port, 443);
    EXPECT_EQ(s->target, "/");
    auto v6 = parseHttpUrl("http://[::1]:81?q=1");
    ASSERT_TRUE(v6);
    EXPECT_EQ(v6->host, "[::1]");
    EXPECT_EQ(v6->target, "/?q=1");
    for (const char* bad : {"ftp://x/", "http://", "http://:80/", "http://user@host/", "http://h:0/", "http://h:70000/",
                            "http://h:8x/", "file:///etc/passwd", "localhost:80", "http://a b/"})
        EXPECT_FALSE(parseHttpUrl(bad)) << bad;
    EXPECT_EQ(encodeRequestTarget("/a?x=%20|\xE9\"<>"), "/a?x=%20%7C%E9%22%3C%3E");
}

TEST(HttpClientAgainstServers, SendsAFreshRequestAndFollowsRedirects) {
    TestServer t;
    std::string target, agent, cache;
    t.server.Get("/old", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/new?x=1"); });
    t.server.Get("/new", [&](const httplib::Request& req, httplib::Response& res) {
        target = req.target;
        agent = req.get_header_value("User-Agent");
        cache = req.get_header_value("Cache-Control");
        res.set_content("moved here", "text/plain");
    });
    t.server.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
        res.status = 404;
        res.set_content("3/16/2099", "text/plain");
    });
    t.start();
    HttpClient http;
    test::ScriptedHost host;
    FetchOutcome r = fetchUrl(http, t.url() + "/old", host, false, quickOptions());
    EXPECT_TRUE(r.reached) << r.error;
    EXPECT_EQ(r.text, "moved here");
    EXPECT_EQ(target, "/new?x=1");
    EXPECT_EQ(agent, "Mozilla");
    EXPECT_EQ(cache, "no-cache");
    FetchOutcome missing = fetchUrl(http, t.url() + "/missing", host, false, quickOptions());
    EXPECT_FALSE(missing.reached) << "an error page is not a reply";
    EXPECT_EQ(missing.status, 404);
    EXPECT_EQ(missing.text, "");
}

TEST(HttpClientAgainstServers, ProgressIsShownAfterEveryBlockButTheFirst) {
    TestServer t;
    const std::string big(200000, 'x');
    t.server.Get("/big", [&](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("text/plain", [&](size_t offset, httplib::DataSink& sink) {
            if (offset >= big.size()) {
                sink.done();
                return true;
            }
            sink.write(big.data() + offset, std::min<size_t>(10000, big.size() - offset));
            return true;
        });
    });
    t.start();
    HttpClient http;
    test::ScriptedHost host;
    EXPECT_EQ(FetchUrlTextWithProgress(http, t.url() + "/big", host, quickOptions()).size(), big.size());
    ASSERT_FALSE(host.updateProgress.empty());
    EXPECT_EQ(host.updateProgress.back().phase, UpdatePhase::Downloading);
    EXPECT_EQ(host.updateProgress.back().text, "Downloaded 200000 bytes.");
    EXPECT_EQ(host.updateProgress.back().count, 200000u);
    EXPECT_EQ(host.yields(), static_cast<int>(host.updateProgress.size()));
    test::ScriptedHost quiet;
    EXPECT_EQ(FetchUrlText(http, t.url() + "/big", quiet, quickOptions()).size(), big.size());
    EXPECT_TRUE(quiet.updateProgress.empty());
    EXPECT_GT(quiet.yields(), 0);
}

TEST(HttpClientAgainstServers, GivesUpCleanlyOnHostileServers) {
    TestServer t;
    t.server.Get("/cut", [](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(1000, "text/plain", [](size_t offset, size_t, httplib::DataSink& sink) {
            if (offset > 0) return false;  // closes the connection after 100 of 1000 bytes
            sink.write(std::string(100, 'a').data(), 100);
            return true;
        });
    });
    t.server.Get("/silent", [&](const httplib::Request&, httplib::Response& res) {
        for (int i = 0; i < 50 && !t.m_stopping; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        res.set_content("too late", "text/plain");
    });
    t.server.Get("/trickle", [&](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("text/plain", [&](size_t, httplib::DataSink& sink) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            sink.write("x", 1);
            return !t.m_stopping;
        });
    });
    const uint64_t gib = 1ull << 30;
    t.server.Get("/gib", [&](const httplib::Request&, httplib::Response& res) {
        static const std::string block(64 * 1024, 'z');
        res.set_chunked_content_provider("text/plain", [&, sent = uint64_t(0)](size_t, httplib::DataSink& sink) mutable {
            if (sent >= gib || t.m_stopping) {
                sink.done();
                return true;
            }
            sent += block.size();
            return sink.write(block.data(), block.size());
        });
    });
    t.server.Get("/announced", [&](const httplib::Request&, httplib::Response& res) {
        static const std::string block(64 * 1024, 'z');
        res.set_content_provider(gib, "text/plain", [&](size_t offset, size_t, httplib::DataSink& sink) {
            return !t.m_stopping && offset < gib && sink.write(block.data(), block.size());
        });
    });
    t.start();
    HttpClient http;
    test::ScriptedHost host;
    struct Case {
        const char* path;
        double limitSeconds;
        const char* why;
    };
    for (const Case& c : {Case{"/cut", 2.0, ""}, Case{"/silent", 2.5, ""}, Case{"/trickle", 4.5, "longer than 3 seconds"},
                          Case{"/gib", 3.0, "larger than 1048576 bytes"}, Case{"/announced", 2.0, "larger than"}}) {
        auto start = Clock::now();
        FetchOutcome r = fetchUrl(http, t.url() + c.path, host, true, quickOptions());
        double took = secondsSince(start);
        EXPECT_FALSE(r.reached) << c.path;
        EXPECT_EQ(r.text, "") << c.path;
        EXPECT_LT(took, c.limitSeconds) << c.path;
        EXPECT_NE(r.error.find(c.why), std::string::npos) << c.path << ": " << r.error;
    }
    // https to a server that only speaks http fails at once instead of hanging.
    auto start = Clock::now();
    FetchOutcome tls = fetchUrl(http, "https://127.0.0.1:" + std::to_string(t.port()) + "/cut", host, false, quickOptions());
    EXPECT_FALSE(tls.reached);
    EXPECT_LT(secondsSince(start), 3.0);
}

TEST(HttpClientAgainstServers, TheTransferLimitCoversAHeadThatNeverEnds) {
    HeaderTrickleServer server;
    HttpClient http;
    test::ScriptedHost host;
    auto start = Clock::now();
    FetchOutcome r = fetchUrl(http, server.url(), host, true, quickOptions());
    EXPECT_FALSE(r.reached);
    EXPECT_LT(secondsSince(start), 4.5);
    EXPECT_NE(r.error.find("longer than 3 seconds"), std::string::npos) << r.error;
    // ...also after a redirection to another server.
    TestServer front;
    front.server.Get("/hop", [&](const httplib::Request&, httplib::Response& res) { res.set_redirect(server.url()); });
    front.start();
    start = Clock::now();
    r = fetchUrl(http, front.url() + "/hop", host, true, quickOptions());
    EXPECT_FALSE(r.reached);
    EXPECT_LT(secondsSince(start), 4.5);
    EXPECT_NE(r.error.find("longer than 3 seconds"), std::string::npos) << r.error;
}

// The update check with a scripted server: the date, feed and new-date replies are set per test.
class ScriptedUpdateServer : public ::testing::Test {
protected:
    TestServer t;
    std::string dateReply = "5/15/2006 9:30:00 AM";
    std::string newDateReply = "5/15/2006 9:30:00 AM";
    std::function<void(httplib::Response&)> feed;
    std::atomic<int> feedRequests{0};
    std::string feedTarget;
    test::TempDir data;
    HostFileSystem files;
    HttpClient http;
    test::ScriptedHost host;

    void SetUp() override {
        t.server.Get("/asp/currentDateNEW.asp", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(dateReply, "text/plain");
        });
        t.server.Get("/asp/date.asp", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(newDateReply, "text/plain");
        });
        t.server.Get("/asp/getDefsNEW.asp", [this](const httplib::Request& req, httplib::Response& res) {
            ++feedRequests;
            feedTarget = req.target;
            feed(res);
        });
        t.start();
        test::writeDefinitions(data.path() / "FileDefinition.dat", {"a=A|x"});
        test::writeHost(data.path() / "date.dat", "4/1/2006\r\n");
    }
    UpdateCheckResult check() {
        LiveUpdateContext c{http, files, data.str(), host, ProductIdentity{"P", "C", "W"}, t.url(), quickOptions()};
        return checkForUpdates(c);
    }
    std::map<std::string, std::string> snapshot() {
        std::map<std::string, std::string> m;
        for (const auto& e : fs::directory_iterator(data.path())) m[e.path().filename().string()] = test::readHost(e.path());
        return m;
    }
    void feedText(const std::string& text) {
        feed = [text](httplib::Response& res) { res.set_content(text, "text/plain"); };
    }
};

TEST_F(ScriptedUpdateServer, AFeedThatChangesNothingLeavesTheDateAlone) {
    feedText(test::joinFeed({test::feedRecord("FILE", "add", "b=B|x"), test::feedRecord("COOK", "MOVE", "c")}));
    auto before = snapshot();
    UpdateCheckResult r = check();
    EXPECT_EQ(r.state, UpdateCheckState::NoChanges);
    EXPECT_EQ(r.count, 0);
    EXPECT_EQ(test::readHost(data.path() / "date.dat"), "4/1/2006\r\n");
    EXPECT_EQ(test::readHost(data.path() / "FileDefinition.dat"), before["FileDefinition.dat"]);
    EXPECT_EQ(feedRequests, 1);
}

TEST_F(ScriptedUpdateServer, AServerDateWithZoneAndLineEndIsNormalised) {
    dateReply = "\t5/15/2006 3:00:00 PM PST\r\n";
    newDateReply = "5/15/2006 3:00:00 PM PST\r\n";
    feedText(test::feedRecord("COOK", "ADD", "x.example"));
    UpdateCheckResult r = check();
    ASSERT_EQ(r.state, UpdateCheckState::Updated) << r.error;
    EXPECT_EQ(test::readHost(data.path() / "date.dat"), "5/15/2006 3:00:00 PM\r\n");
}

TEST_F(ScriptedUpdateServer, AReplyThatIsNotADateFetchesNothing) {
    feedText(test::feedRecord("COOK", "ADD", "x.example"));
    auto before = snapshot();
    for (const char* reply : {"<html>Service Unavailable</html>", "", "tomorrow", "3/16/2006 12:00:00 AM"}) {
        dateReply = reply;
        UpdateCheckResult r = check();
        EXPECT_NE(r.state, UpdateCheckState::Updated) << reply;
        EXPECT_EQ(r.count, 0);
    }
    EXPECT_EQ(feedRequests, 0);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(ScriptedUpdateServer, ADateFileThatIsNotADateCountsAsTheDefaultDate) {
    test::writeHost(data.path() / "date.dat", "garbage\r\n");
    feedText(test::feedRecord("COOK", "ADD", "x.example"));
    UpdateCheckResult r = check();
    ASSERT_EQ(r.state, UpdateCheckState::Updated) << r.error;
    EXPECT_EQ(r.installedDate, "3/16/2006");
    EXPECT_EQ(feedTarget, "/asp/getDefsNEW.asp?prog=P&comp=C&date=3/16/2006");
}

TEST_F(ScriptedUpdateServer, ANewDateThatIsNotADateRecordsTheServersDate) {
    newDateReply = "oops";
    feedText(test::feedRecord("COOK", "ADD", "x.example"));
    UpdateCheckResult r = check();
    ASSERT_EQ(r.state, UpdateCheckState::Updated) << r.error;
    EXPECT_EQ(test::readHost(data.path() / "date.dat"), "5/15/2006 9:30:00 AM\r\n");
}

TEST_F(ScriptedUpdateServer, AFeedThatFailsInTransitChangesNoFile) {
    auto before = snapshot();
    feed = [](httplib::Response& res) {
        res.set_content_provider(5000, "text/plain", [](size_t offset, size_t, httplib::DataSink& sink) {
            if (offset > 0) return false;
            std::string part = test::feedRecord("COOK", "ADD", "half.example") + "[BR]";
            sink.write(part.data(), part.size());
            return true;
        });
    };
    UpdateCheckResult cut = check();
    EXPECT_EQ(cut.state, UpdateCheckState::Unreachable);
    feed = [](httplib::Response& res) {
        res.status = 500;
        res.set_content(test::feedRecord("COOK", "ADD", "error.example"), "text/plain");
    };
    EXPECT_EQ(check().state, UpdateCheckState::Unreachable);
    feed = [this](httplib::Response& res) {
        res.set_chunked_content_provider("text/plain", [this](size_t, httplib::DataSink& sink) {
            static const std::string block = test::feedRecord("COOK", "ADD", "flood.example") + "[BR]";
            return !t.m_stopping && sink.write(block.data(), block.size());
        });
    };
    auto start = Clock::now();
    EXPECT_EQ(check().state, UpdateCheckState::Unreachable) << "the 1 MiB cap stops an endless feed";
    EXPECT_LT(secondsSince(start), 4.0);
    EXPECT_EQ(snapshot(), before);
}

}  // namespace
}  // namespace vedozer
