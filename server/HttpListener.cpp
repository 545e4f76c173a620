#include "HttpListener.h"

#include <netdb.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "SocketStream.h"

namespace vedozer::server {

namespace {

using Clock = std::chrono::steady_clock;

void closeQuietly(int fd) {
    if (fd >= 0) ::close(fd);
}

std::string describeErrno(int err) {
    if (err == EADDRINUSE) return "address already in use";
    if (err == EACCES) return "permission denied";
    if (err == EADDRNOTAVAIL) return "address not available on this machine";
    return std::strerror(err);
}

}  // namespace

bool requestHeadComplete(std::string_view bytes) {
    return bytes.find("\r\n\r\n") != std::string_view::npos || bytes.find("\n\n") != std::string_view::npos;
}

HttpListener::HttpListener(ListenerLimits limits) : m_limits(limits) {
    if (m_limits.workers == 0) m_limits.workers = 1;
    if (m_limits.maxWaiting == 0) m_limits.maxWaiting = 1;
}

HttpListener::~HttpListener() {
    closeQuietly(m_listenFd);
    closeQuietly(m_wakeFd);
}

std::string HttpListener::open(const std::string& address, int port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (int rc = ::getaddrinfo(address.c_str(), service.c_str(), &hints, &found); rc != 0)
        return std::string("unknown address (") + ::gai_strerror(rc) + ")";
    std::string error = "no usable address";
    for (addrinfo* a = found; a; a = a->ai_next) {
        int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            error = describeErrno(errno);
            continue;
        }
        // SO_REUSEADDR lets a restart bind while old connections linger; unlike SO_REUSEPORT it
        // never lets a second server listen on the same address.
        int yes = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        if (::bind(fd, a->ai_addr, a->ai_addrlen) != 0 || ::listen(fd, SOMAXCONN) != 0) {
            error = describeErrno(errno);
            ::close(fd);
            continue;
        }
        m_listenFd = fd;
        break;
    }
    ::freeaddrinfo(found);
    if (m_listenFd < 0) return error;
    sockaddr_storage bound{};
    socklen_t len = sizeof bound;
    ::getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&bound), &len);
    m_port = bound.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6&>(bound).sin6_port)
                                         : ntohs(reinterpret_cast<sockaddr_in&>(bound).sin_port);
    m_wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_wakeFd < 0) return describeErrno(errno);
    return {};
}

void HttpListener::stop() {
    m_stopping = true;
    uint64_t one = 1;
    if (m_wakeFd >= 0) {
        [[maybe_unused]] auto n = ::write(m_wakeFd, &one, sizeof one);
    }
}

bool HttpListener::run() {
    bool ok = true;
    for (size_t i = 0; i < m_limits.workers; ++i) m_workers.emplace_back([this] { workerLoop(); });
    std::vector<pollfd> fds;
    while (!m_stopping) {
        fds.clear();
        fds.push_back({m_listenFd, POLLIN, 0});
        fds.push_back({m_wakeFd, POLLIN, 0});
        for (const auto& w : m_waiting) fds.push_back({w.fd, POLLIN, 0});
        int timeout = -1;
        if (!m_waiting.empty()) {
            // Deadlines grow with the order of arrival: the first one is the nearest.
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_waiting.front().deadline -
                                                                              Clock::now());
            timeout = static_cast<int>(std::max<int64_t>(left.count() + 1, 0));
        }
        if (::poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) {
            ok = false;
            break;
        }
        if (fds[1].revents) {
            uint64_t value;
            [[maybe_unused]] auto n = ::read(m_wakeFd, &value, sizeof value);
        }
        const auto now = Clock::now();
        std::vector<Waiting> still;
        still.reserve(m_waiting.size());
        for (size_t i = 0; i < m_waiting.size(); ++i) {
            Waiting& w = m_waiting[i];
            if (fds[i + 2].revents && readHead(w)) continue;
            if (now >= w.deadline) {
                refuse(w.fd, "408 Request Timeout", "request head not complete in time");
                continue;
            }
            still.push_back(std::move(w));
        }
        m_waiting = std::move(still);
        if (fds[0].revents & POLLIN) acceptAll();
    }
    for (auto& w : m_waiting) closeQuietly(w.fd);
    m_waiting.clear();
    {
        std::lock_guard lock(m_queueMutex);
        m_queueClosed = true;
    }
    m_queueReady.notify_all();
    for (auto& t : m_workers) t.join();
    m_workers.clear();
    for (auto& w : m_queue) closeQuietly(w.fd);
    m_queue.clear();
    return ok;
}

void HttpListener::acceptAll() {
    for (;;) {
        int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            if ((errno == EMFILE || errno == ENFILE) && !m_waiting.empty()) {
                // Out of descriptors: the longest-waiting connection makes room.
                refuse(m_waiting.front().fd, "503 Service Unavailable", "too many connections");
                m_waiting.erase(m_waiting.begin());
                continue;
            }
            // Nothing to drop: give the system a moment instead of spinning on the listener.
            if (errno == EMFILE || errno == ENFILE) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return;
        }
        if (m_waiting.size() >= m_limits.maxWaiting) {
            refuse(m_waiting.front().fd, "503 Service Unavailable", "too many unfinished requests");
            m_waiting.erase(m_waiting.begin());
        }
        Waiting w{fd, Clock::now() + m_limits.headerDeadline, {}};
        if (!readHead(w)) m_waiting.push_back(std::move(w));
    }
}

bool HttpListener::readHead(Waiting& w) {
    char buf[4096];
    for (;;) {
        size_t room = m_limits.maxHeadBytes - w.head.size();
        ssize_t n = ::recv(w.fd, buf, std::min(room, sizeof buf), 0);
        if (n > 0) {
            size_t searchFrom = w.head.size() > 3 ? w.head.size() - 3 : 0;
            w.head.append(buf, static_cast<size_t>(n));
            if (requestHeadComplete(std::string_view(w.head).substr(searchFrom))) {
                enqueue(std::move(w));
                return true;
            }
            if (w.head.size() >= m_limits.maxHeadBytes) {
                refuse(w.fd, "431 Request Header Fields Too Large", "request head too large");
                return true;
            }
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return false;
        if (n < 0 && errno == EINTR) continue;
        ::close(w.fd);  // the client went away
        return true;
    }
}

void HttpListener::enqueue(Waiting&& w) {
    {
        std::lock_guard lock(m_queueMutex);
        if (m_queue.size() < m_limits.maxQueued) {
            w.deadline = Clock::now() + m_limits.answerDeadline;
            m_queue.push_back(std::move(w));
            m_queueReady.notify_one();
            return;
        }
    }
    refuse(w.fd, "503 Service Unavailable", "all workers busy");
}

void HttpListener::refuse(int fd, const char* statusLine, const std::string& why) {
    std::string reply =
        std::string("HTTP/1.1 ") + statusLine + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    [[maybe_unused]] auto n = ::send(fd, reply.data(), reply.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    if (m_notice) {
        std::string peer;
        int port = 0;
        SocketStream(fd, {}, {}, {}).get_remote_ip_and_port(peer, port);
        m_notice(peer + " " + statusLine + " (" + why + ")");
    }
    ::close(fd);
}

void HttpListener::workerLoop() {
    for (;;) {
        Waiting w;
        {
            std::unique_lock lock(m_queueMutex);
            m_queueReady.wait(lock, [&] { return m_queueClosed || !m_queue.empty(); });
            if (m_queueClosed) return;
            w = std::move(m_queue.front());
            m_queue.pop_front();
        }
        answer(std::move(w));
    }
}

void HttpListener::answer(Waiting&& w) {
    {
        SocketStream stream(w.fd, std::move(w.head), m_limits.ioTimeout, w.deadline);
        bool closed = false;
        process_request(stream, true, closed, nullptr);
    }
    ::shutdown(w.fd, SHUT_WR);
    ::close(w.fd);
}

}  // namespace vedozer::server
