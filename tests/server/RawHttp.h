#pragma once
#include <chrono>
#include <string>

namespace vedozer::test {

// A plain TCP connection to 127.0.0.1, for requests no well-behaved client would send.
class RawConnection {
public:
    explicit RawConnection(int port);
    ~RawConnection();
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool connected() const { return m_fd >= 0; }
    bool send(const std::string& bytes);
    // Waits up to `timeout` for the server to answer or hang up; true when it did, with what it
    // sent (possibly nothing) in `reply`.
    bool waitForReplyOrClose(std::chrono::milliseconds timeout, std::string& reply);

private:
    int m_fd = -1;
};

// GET of a whole raw request; the reply as sent (status line, headers, body) or "" on failure.
std::string rawRequest(int port, const std::string& request, std::chrono::milliseconds timeout);

}  // namespace vedozer::test
