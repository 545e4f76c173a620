// The win32 backend against a hostile server and a real executable: the WinInet transfer limit
// holds while the reply head trickles in, and the company name comes from the version resource of
// a file the linker wrote, read through a seekable file stream.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "Win32TestSupport.h"
#include "i18n/ProductIdentity.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Http.h"
#include "scan/FileCompanyName.h"

namespace vedozer {
namespace {

// Answers each connection with a status line, then one header byte every 200 ms for 20 s at most.
class HeaderTrickleServer {
public:
    HeaderTrickleServer() {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 2), &wsa);
        m_listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int len = sizeof addr;
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(m_listener, 4);
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&addr), &len);
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~HeaderTrickleServer() {
        m_stopping = true;
        m_thread.join();
        ::closesocket(m_listener);
        WSACleanup();
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/asp/date.asp"; }

private:
    void serve() {
        while (!m_stopping) {
            fd_set set;
            FD_ZERO(&set);
            FD_SET(m_listener, &set);
            timeval wait{0, 50000};
            if (::select(0, &set, nullptr, nullptr, &wait) <= 0) continue;
            SOCKET c = ::accept(m_listener, nullptr, nullptr);
            if (c == INVALID_SOCKET) continue;
            const char head[] = "HTTP/1.1 200 OK\r\nX-Slow: ";
            ::send(c, head, sizeof head - 1, 0);
            for (int i = 0; i < 100 && !m_stopping; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                if (::send(c, "a", 1, 0) != 1) break;
            }
            ::closesocket(c);
        }
    }
    SOCKET m_listener = INVALID_SOCKET;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};

TEST(Win32Http, TheTransferLimitCoversAHeadThatNeverEnds) {
    HeaderTrickleServer server;
    Win32Http http;
    HttpOptions options;
    options.connectTimeoutSeconds = 2;
    options.readTimeoutSeconds = 1;
    options.totalTimeoutSeconds = 3;
    auto start = std::chrono::steady_clock::now();
    HttpResult r = http.get(server.url(), options);
    double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_FALSE(r.ok);
    EXPECT_LT(took, 8.0);
    EXPECT_NE(r.error.find("longer than 3 seconds"), std::string::npos) << r.error;
}

TEST(Win32FileCompanyName, ReadsTheVersionResourceOfALinkedProgram) {
    Win32FileSystem files;
    const std::string exe = test::besideTestProgram("vedozer.exe");
    EXPECT_EQ(GetFileCompanyName(files, exe), ProductIdentity::fromBuild().companyName);
    // A seek past the end reads nothing; a seek back reads the start again.
    auto in = files.openRead(exe);
    ASSERT_TRUE(in);
    char buf[2];
    ASSERT_TRUE(in->seek(1ull << 40));
    EXPECT_EQ(in->read(buf, 2), 0);
    ASSERT_TRUE(in->seek(0));
    ASSERT_EQ(in->read(buf, 2), 2);
    EXPECT_EQ(std::string(buf, 2), "MZ");
}

}  // namespace
}  // namespace vedozer
