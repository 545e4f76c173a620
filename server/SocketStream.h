#pragma once
#include <httplib.h>

#include <chrono>
#include <string>

namespace vedozer::server {

// The stream httplib reads a request from and writes the reply to: first the bytes of the
// request head the listener already read, then the socket. Every wait is bounded by `ioTimeout`
// and the whole exchange by `deadline`, so a client that stops reading frees its worker.
class SocketStream : public httplib::Stream {
public:
    SocketStream(int fd, std::string alreadyRead, std::chrono::milliseconds ioTimeout,
                 std::chrono::steady_clock::time_point deadline);

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override { return m_fd; }

private:
    // Waits for `events` on the socket; false on time-out, error or a passed deadline.
    bool waitFor(short events) const;

    int m_fd;
    std::string m_head;
    size_t m_headPos = 0;
    std::chrono::milliseconds m_ioTimeout;
    std::chrono::steady_clock::time_point m_deadline;
};

}  // namespace vedozer::server
