// Load on a definition server at 127.0.0.1 as a fleet of clients makes it: each request on its
// own connection, like the client, in a fixed mixture of date checks (most clients are current),
// feeds for the installed dates given, and the new-date request. Bounded in requests and time.
//
//   defserver_load PORT REQUESTS CLIENTS DATE...      e.g. defserver_load 8080 20000 200 3/16/2006 "4/1/2006
//   10:00:00 AM"
//
// Prints one line: requests, seconds, requests per second, p50 and p99 latency, errors. An error
// is a failed connection, a status other than 200, or a body that differs from the reply the same
// request got once before the run.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTimeLimit = std::chrono::seconds(300);
constexpr int kIoTimeoutMs = 10000;

struct Reply {
    int status = 0;
    std::string body;
};

// One GET on a fresh connection; status -1 when the exchange failed.
Reply fetch(int port, const std::string& target) {
    Reply reply{-1, {}};
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return reply;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    std::string raw;
    std::string request = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
        char buf[65536];
        for (;;) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, kIoTimeoutMs) <= 0) {
                raw.clear();
                break;
            }
            ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n <= 0) break;
            raw.append(buf, static_cast<size_t>(n));
        }
    }
    ::close(fd);
    size_t headEnd = raw.find("\r\n\r\n");
    if (raw.compare(0, 9, "HTTP/1.1 ") != 0 || headEnd == std::string::npos) return reply;
    reply.status = std::atoi(raw.c_str() + 9);
    reply.body = raw.substr(headEnd + 4);
    return reply;
}

std::string escapeBlanks(const std::string& s) {
    std::string out;
    for (char c : s) out += c == ' ' ? std::string("%20") : std::string(1, c);
    return out;
}

double percentile(std::vector<double>& sorted, double p) {
    if (sorted.empty()) return 0;
    size_t i = std::min(sorted.size() - 1, static_cast<size_t>(p * static_cast<double>(sorted.size())));
    return sorted[i];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s PORT REQUESTS CLIENTS DATE...\n", argv[0]);
        return 2;
    }
    const int port = std::atoi(argv[1]);
    const long total = std::atol(argv[2]);
    const int clients = std::atoi(argv[3]);
    if (port <= 0 || total <= 0 || total > 10000000 || clients <= 0 || clients > 10000) {
        std::fprintf(stderr, "bad PORT, REQUESTS (1..10000000) or CLIENTS (1..10000)\n");
        return 2;
    }
    const std::string q = "?prog=Vedozer%20Anti-Spyware&comp=Vedozer%20Labs";
    std::vector<std::string> feeds;
    for (int i = 4; i < argc; ++i)
        feeds.push_back("/asp/getDefsNEW.asp" + q + "&date=" + escapeBlanks(argv[i]));
    // Of every ten requests: six date checks, three feeds, one new-date request.
    auto targetOf = [&](long i) -> const std::string& {
        static const std::string dateCheck = "/asp/currentDateNEW.asp" + q, newDate = "/asp/date.asp";
        long slot = i % 10;
        if (slot < 6) return dateCheck;
        if (slot < 9)
            return feeds[static_cast<size_t>((i / 10 * 3 + slot - 6) % static_cast<long>(feeds.size()))];
        return newDate;
    };

    std::map<std::string, std::string> expected;
    for (long i = 0; i < 10 * static_cast<long>(feeds.size()); ++i) {
        const std::string& t = targetOf(i);
        if (expected.count(t)) continue;
        Reply r = fetch(port, t);
        if (r.status != 200) {
            std::fprintf(stderr, "%s answered %d before the run\n", t.c_str(), r.status);
            return 1;
        }
        expected[t] = r.body;
    }

    const std::map<std::string, std::string>& expectedBody = expected;
    std::atomic<long> next{0}, errors{0};
    std::vector<std::vector<double>> latencies(static_cast<size_t>(clients));
    const auto start = Clock::now();
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back([&, c] {
            for (long i = next++; i < total && Clock::now() - start < kTimeLimit; i = next++) {
                const std::string& t = targetOf(i);
                auto t0 = Clock::now();
                Reply r = fetch(port, t);
                latencies[static_cast<size_t>(c)].push_back(
                    std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
                if (r.status != 200 || r.body != expectedBody.at(t)) ++errors;
            }
        });
    }
    for (auto& t : threads) t.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::vector<double> all;
    for (auto& l : latencies) all.insert(all.end(), l.begin(), l.end());
    std::sort(all.begin(), all.end());
    std::printf("requests %zu  seconds %.2f  req/s %.0f  p50 %.2f ms  p99 %.2f ms  errors %ld\n", all.size(),
                seconds, static_cast<double>(all.size()) / seconds, percentile(all, 0.50),
                percentile(all, 0.99), errors.load());
    return all.size() == static_cast<size_t>(total) ? 0 : 1;
}
