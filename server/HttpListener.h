#pragma once
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace vedozer::server {

struct ListenerLimits {
    // A client must have sent its whole request head within this time of connecting.
    std::chrono::milliseconds headerDeadline{10000};
    // Connections whose head is still arriving; past this the longest-waiting one is dropped.
    size_t maxWaiting = 1024;
    // Threads that answer complete requests.
    size_t workers = 8;
    // Complete requests waiting for a worker; past this a request is answered 503 at once.
    size_t maxQueued = 256;
    size_t maxHeadBytes = 16 * 1024;
    // Longest single wait while answering, and the whole time allowed for one answer: the
    // client's own limits, so a large feed on a slow line still arrives.
    std::chrono::milliseconds ioTimeout{30000};
    std::chrono::milliseconds answerDeadline{600000};
};

// True when `bytes` holds a whole request head (up to the blank line).
bool requestHeadComplete(std::string_view bytes);

// An httplib server with its own front door. One thread accepts connections and collects each
// request head without blocking; only complete requests reach the bounded queue of the worker
// threads. So clients that send slowly, or not at all, wait in the cheap part and are dropped at
// their deadline, while a normal request is answered at once. One request per connection.
class HttpListener : public httplib::Server {
public:
    explicit HttpListener(ListenerLimits limits);
    ~HttpListener() override;

    // Binds and listens (port 0: a free port). Returns "" or why not, e.g. "address already in use".
    std::string open(const std::string& address, int port);
    int port() const { return m_port; }
    // Serves until stop(); false when it had to stop on an error. Returns after the workers ended.
    bool run();
    // May be called from any thread.
    void stop();
    // Receives a line for each connection dropped before its request was read.
    void setNoticeLog(std::function<void(const std::string&)> log) { m_notice = std::move(log); }

private:
    struct Waiting {
        int fd = -1;
        std::chrono::steady_clock::time_point deadline;
        std::string head;
    };

    void acceptAll();
    // Reads what arrived; true when the connection is done with here (queued or closed).
    bool readHead(Waiting& w);
    void enqueue(Waiting&& w);
    void refuse(int fd, const char* statusLine, const std::string& why);
    void workerLoop();
    void answer(Waiting&& w);

    ListenerLimits m_limits;
    int m_listenFd = -1;
    int m_wakeFd = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::vector<Waiting> m_waiting;
    std::function<void(const std::string&)> m_notice;

    std::mutex m_queueMutex;
    std::condition_variable m_queueReady;
    std::deque<Waiting> m_queue;
    bool m_queueClosed = false;
    std::vector<std::thread> m_workers;
};

}  // namespace vedozer::server
