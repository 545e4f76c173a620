#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "app/presenters/BackgroundHttp.h"

namespace vedozer {
namespace {

using namespace std::chrono_literals;

// A server on a leash: sends the progress steps it is given, then holds its answer until let go.
class HeldServer : public Http {
public:
    HttpResult get(const std::string& url, const HttpOptions&, const HttpProgress& progress) override {
        std::unique_lock<std::mutex> hold(m_lock);
        m_thread = std::this_thread::get_id();
        m_started = true;
        m_changed.notify_all();
        for (uint64_t step = 1; step <= steps; ++step) {
            hold.unlock();
            bool goOn = !progress || progress(step * 10, steps * 10);
            std::this_thread::sleep_for(pace);
            hold.lock();
            if (!goOn) {
                refusedAt = step;
                HttpResult r;
                r.error = "stopped by the caller";
                return r;
            }
        }
        if (holdAnswer) m_changed.wait(hold, [&] { return m_released; });
        HttpResult r;
        r.status = 200;
        r.body = "answer to " + url;
        return r;
    }
    void release() {
        std::lock_guard<std::mutex> hold(m_lock);
        m_released = true;
        m_changed.notify_all();
    }
    void waitStarted() {
        std::unique_lock<std::mutex> hold(m_lock);
        m_changed.wait(hold, [&] { return m_started; });
    }
    std::thread::id thread() {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_thread;
    }
    uint64_t steps = 0;
    std::chrono::milliseconds pace{0};  // between steps
    bool holdAnswer = true;
    uint64_t refusedAt = 0;

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_started = false, m_released = false;
    std::thread::id m_thread;
};

// A window thread's wait: each wait() is one turn of its "event loop" (onTurn), then a sleep until
// woken; closing makes the next wait say so.
class TestWait : public EventWait {
public:
    struct Shared {
        std::mutex lock;
        std::condition_variable woken;
        bool pending = false;
        bool closing = false;
        int waits = 0;
        std::function<void()> onTurn;
    };
    explicit TestWait(Shared& s) : m_s(s) {}
    bool wait() override {
        std::function<void()> turn;
        {
            std::lock_guard<std::mutex> hold(m_s.lock);
            ++m_s.waits;
            turn = m_s.onTurn;
        }
        if (turn) turn();
        std::unique_lock<std::mutex> hold(m_s.lock);
        if (m_s.closing) return false;
        m_s.woken.wait(hold, [&] { return m_s.pending || m_s.closing; });
        m_s.pending = false;
        return !m_s.closing;
    }
    void wake() override {
        std::lock_guard<std::mutex> hold(m_s.lock);
        m_s.pending = true;
        m_s.woken.notify_all();
    }

private:
    Shared& m_s;
};

BackgroundHttp::MakeWait waitsOn(TestWait::Shared& shared) {
    return [&shared] { return std::make_unique<TestWait>(shared); };
}

TEST(BackgroundHttp, ProgressReachesTheCallerOnItsOwnThreadAndTheAnswerComesBack) {
    HeldServer server;
    server.steps = 3;
    TestWait::Shared shared;
    // The window thread lets the server answer once the request is under way elsewhere.
    shared.onTurn = [&] { server.release(); };
    BackgroundHttp http(server, waitsOn(shared));
    std::vector<std::pair<uint64_t, uint64_t>> seen;
    const auto caller = std::this_thread::get_id();
    bool allOnCaller = true;
    HttpResult r = http.get("http://127.0.0.1/x", HttpOptions{}, [&](uint64_t got, uint64_t total) {
        allOnCaller = allOnCaller && std::this_thread::get_id() == caller;
        seen.emplace_back(got, total);
        return true;
    });
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body, "answer to http://127.0.0.1/x");
    EXPECT_NE(server.thread(), caller);
    EXPECT_TRUE(allOnCaller);
    EXPECT_EQ(seen, (std::vector<std::pair<uint64_t, uint64_t>>{{10, 30}, {20, 30}, {30, 30}}));
    EXPECT_FALSE(http.transfersLeft());
}

TEST(BackgroundHttp, ACallerThatSaysStopIsHeardByTheServer) {
    HeldServer server;
    server.steps = 5000;
    server.pace = 1ms;
    server.holdAnswer = false;
    TestWait::Shared shared;
    BackgroundHttp http(server, waitsOn(shared));
    int calls = 0;
    HttpResult r = http.get("u", HttpOptions{}, [&](uint64_t, uint64_t) { return ++calls < 2; });
    EXPECT_EQ(r.error, "stopped by the caller");
    // The refusal travels back to the server a step or a few later, long before its end.
    EXPECT_GE(server.refusedAt, 2u);
    EXPECT_LT(server.refusedAt, 5000u);
}

TEST(BackgroundHttp, ClosingLeavesAWaitingRequestBehindAndSaysItWasCancelled) {
    auto server = std::make_unique<HeldServer>();
    TestWait::Shared shared;
    shared.onTurn = [&] {
        server->waitStarted();
        std::lock_guard<std::mutex> hold(shared.lock);
        shared.closing = true;
    };
    BackgroundHttp http(*server, waitsOn(shared));
    HttpResult r = http.get("u", HttpOptions{});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.error, "the transfer was cancelled");
    EXPECT_TRUE(http.transfersLeft());
    // The server answers later: the worker ends without touching the wait that is gone.
    server->release();
    for (int i = 0; i < 500 && http.transfersLeft(); ++i) std::this_thread::sleep_for(10ms);
    EXPECT_FALSE(http.transfersLeft());

    // Once closed, no new request starts.
    BackgroundHttp closed(*server, [] { return std::unique_ptr<EventWait>(); });
    EXPECT_EQ(closed.get("u", HttpOptions{}).error, "the transfer was cancelled");
}

}  // namespace
}  // namespace vedozer
