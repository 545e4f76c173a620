#include "RawHttp.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vedozer::test {

RawConnection::RawConnection(int port) {
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    if (m_fd >= 0 && ::connect(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

RawConnection::~RawConnection() {
    if (m_fd >= 0) ::close(m_fd);
}

bool RawConnection::send(const std::string& bytes) {
    size_t sent = 0;
    while (m_fd >= 0 && sent < bytes.size()) {
        ssize_t n = ::send(m_fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return m_fd >= 0;
}

bool RawConnection::waitForReplyOrClose(std::chrono::milliseconds timeout, std::string& reply) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
        char buf[4096];
        ssize_t n = ::recv(m_fd, buf, sizeof buf, 0);
        if (n <= 0) return true;  // closed (or reset) by the server
        reply.append(buf, static_cast<size_t>(n));
    }
}

std::string rawRequest(int port, const std::string& request, std::chrono::milliseconds timeout) {
    RawConnection c(port);
    std::string reply;
    if (!c.send(request) || !c.waitForReplyOrClose(timeout, reply)) return "";
    return reply;
}

}  // namespace vedozer::test
