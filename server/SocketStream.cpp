#include "SocketStream.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>

namespace vedozer::server {

namespace {

void addressOf(const sockaddr_storage& addr, std::string& ip, int& port) {
    char text[INET6_ADDRSTRLEN] = "";
    if (addr.ss_family == AF_INET) {
        const auto& a = reinterpret_cast<const sockaddr_in&>(addr);
        ::inet_ntop(AF_INET, &a.sin_addr, text, sizeof text);
        port = ntohs(a.sin_port);
    } else if (addr.ss_family == AF_INET6) {
        const auto& a = reinterpret_cast<const sockaddr_in6&>(addr);
        ::inet_ntop(AF_INET6, &a.sin6_addr, text, sizeof text);
        port = ntohs(a.sin6_port);
    }
    ip = text;
}

}  // namespace

SocketStream::SocketStream(int fd, std::string alreadyRead, std::chrono::milliseconds ioTimeout,
                           std::chrono::steady_clock::time_point deadline)
    : m_fd(fd), m_head(std::move(alreadyRead)), m_ioTimeout(ioTimeout), m_deadline(deadline) {}

bool SocketStream::waitFor(short events) const {
    auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - std::chrono::steady_clock::now());
    auto wait = std::min(left, m_ioTimeout);
    if (wait.count() <= 0) return false;
    pollfd p{m_fd, events, 0};
    int r;
    do {
        r = ::poll(&p, 1, static_cast<int>(wait.count()));
    } while (r < 0 && errno == EINTR);
    return r > 0 && (p.revents & (events | POLLHUP)) != 0;
}

bool SocketStream::is_readable() const { return m_headPos < m_head.size() || waitFor(POLLIN); }

bool SocketStream::is_writable() const { return waitFor(POLLOUT); }

ssize_t SocketStream::read(char* ptr, size_t size) {
    if (m_headPos < m_head.size()) {
        size_t n = std::min(size, m_head.size() - m_headPos);
        std::memcpy(ptr, m_head.data() + m_headPos, n);
        m_headPos += n;
        return static_cast<ssize_t>(n);
    }
    for (;;) {
        if (!waitFor(POLLIN)) return -1;
        ssize_t n = ::recv(m_fd, ptr, size, MSG_DONTWAIT);
        if (n >= 0) return n;
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return -1;
    }
}

ssize_t SocketStream::write(const char* ptr, size_t size) {
    for (;;) {
        if (!waitFor(POLLOUT)) return -1;
        ssize_t n = ::send(m_fd, ptr, size, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n >= 0) return n;
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return -1;
    }
}

void SocketStream::get_remote_ip_and_port(std::string& ip, int& port) const {
    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    if (::getpeername(m_fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0) addressOf(addr, ip, port);
}

void SocketStream::get_local_ip_and_port(std::string& ip, int& port) const {
    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    if (::getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0) addressOf(addr, ip, port);
}

}  // namespace vedozer::server
