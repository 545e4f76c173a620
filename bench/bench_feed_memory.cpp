// Memory of Live Update on a large feed: vedozer-defserver serves a repository whose feed is about
// 60 MB, `vedozer update` fetches and merges it, and the client's peak resident memory is compared
// with the feed's size. The floor is the feed itself: a client has to hold what it receives.
//
//   build/bench_feed_memory [feed megabytes, default 60] [cookies]
// (vedozer and vedozer-defserver are taken from the folder of this program.)
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/image/HttpClient.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

pid_t spawn(const std::vector<std::string>& args, int stdoutFd) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutFd >= 0) posix_spawn_file_actions_adddup2(&actions, stdoutFd, 1);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// One change set of ADD records of every kind and one removal in five (or, with onlyCookies, short
// cookie records only: the most records per megabyte); returns its line count.
size_t writeChangeSet(const fs::path& file, size_t feedBytes, bool onlyCookies) {
    std::ofstream out(file, std::ios::binary);
    size_t approx = 0, lines = 0;
    for (size_t i = 0; approx < feedBytes; ++i, ++lines) {
        std::string n = std::to_string(i);
        std::string line;
        switch (onlyCookies ? 1 : i % 5) {
        case 0: line = "ADD FILE t" + n + ".dll=Toolbar " + n + "|[windir]\\system32|Adware"; break;
        case 1: line = "ADD COOK tracker" + n + ".example"; break;
        case 2: line = "ADD REG 2^Software\\Pop" + n + "=Pop " + n + "|Adware"; break;
        case 3: line = "ADD EXE pop" + n + ".exe=Pop " + n + "|[programfiles]\\Pop"; break;
        default: line = "DEL FILE old" + n + ".dll"; break;
        }
        out << line << "\n";
        approx += line.size() + 12;  // the feed record is a little longer than the line
    }
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 60;
    const fs::path bin = fs::absolute(fs::path(argv[0])).parent_path();
    const fs::path root = fs::temp_directory_path() / ("vedozer-bench-feed-" + std::to_string(::getpid()));
    fs::create_directories(root / "repo" / "changes");
    fs::create_directories(root / "data");
    const bool onlyCookies = argc > 2 && std::string(argv[2]) == "cookies";
    size_t lines = writeChangeSet(root / "repo" / "changes" / "2006-05-15.txt", static_cast<size_t>(megabytes * 1e6),
                                  onlyCookies);

    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return 1;
    pid_t server = spawn({(bin / "vedozer-defserver").string(), "--repo", (root / "repo").string(), "--port", "0",
                          "--quiet"},
                         pipeFds[1]);
    ::close(pipeFds[1]);
    std::string first;
    char c;
    while (::read(pipeFds[0], &c, 1) == 1 && c != '\n') first += c;
    size_t at = first.find("http://");
    if (server < 0 || at == std::string::npos) {
        std::fprintf(stderr, "the definition server did not start: %s\n", first.c_str());
        return 1;
    }
    const std::string url = first.substr(at);

    // The feed as the client receives it, for its size.
    size_t feedSize = 0;
    {
        vedozer::HttpClient http;
        vedozer::HttpOptions options;
        options.maxBytes = 1ull << 30;
        feedSize = http.get(url + "/asp/getDefsNEW.asp?prog=P&comp=C&date=3/16/2006", options).body.size();
    }
    int status = 0;

    int quiet = ::open("/dev/null", O_WRONLY);
    pid_t client = spawn({(bin / "vedozer").string(), "--data-dir", (root / "data").string(), "--config-dir",
                          (root / "config").string(), "update", "--server", url},
                         quiet);
    ::close(quiet);
    rusage usage{};
    ::wait4(client, &status, 0, &usage);
    ::kill(server, SIGTERM);
    ::waitpid(server, nullptr, 0);

    const double peakBytes = usage.ru_maxrss * 1024.0;
    std::printf("feed: %zu changes, %.1f MB; vedozer update exit %d; peak resident %.1f MB; ratio to the feed %.2f\n",
                lines, static_cast<double>(feedSize) / 1e6, WIFEXITED(status) ? WEXITSTATUS(status) : -1, peakBytes / 1e6,
                peakBytes / static_cast<double>(feedSize));
    fs::remove_all(root);
    return 0;
}
