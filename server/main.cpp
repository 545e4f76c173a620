// vedozer-defserver: the reference definition server.
#include <CLI/CLI.hpp>
#include <httplib.h>

#include <csignal>
#include <filesystem>
#include <iostream>
#include <thread>

#include "DefServer.h"

int main(int argc, char** argv) {
    using namespace vedozer::server;
    CLI::App app{"vedozer-defserver: serves definition dates, update feeds, language files and collects submissions"};
    int port = 8080;
    std::string bind = "127.0.0.1";
    std::string repo;
    std::string submissionsFile;
    bool quiet = false;
    app.add_option("--port", port, "TCP port; 0 picks a free one (printed at start)")->check(CLI::Range(0, 65535));
    app.add_option("--bind", bind, "address to listen on")->capture_default_str();
    app.add_option("--repo", repo, "repository folder (changes/, Languages/)")->required()->check(CLI::ExistingDirectory);
    app.add_option("--submissions", submissionsFile, "file submissions are recorded in (default: REPO/submissions.txt)");
    app.add_flag("--quiet", quiet, "no request log on stderr");
    CLI11_PARSE(app, argc, argv);
    if (submissionsFile.empty()) submissionsFile = (std::filesystem::path(repo) / "submissions.txt").string();

    Repository repository(repo);
    try {
        repository.load();
    } catch (const std::exception& e) {
        std::cerr << "vedozer-defserver: " << e.what() << std::endl;
        return 1;
    }
    SubmissionLog submissions(submissionsFile);

    // Stop cleanly on SIGINT and SIGTERM: they are blocked here (and in the server's threads)
    // and taken by one waiting thread.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    httplib::Server server;
    installRoutes(server, repository, submissions, quiet);
    int bound = port == 0 ? server.bind_to_any_port(bind) : (server.bind_to_port(bind, port) ? port : -1);
    if (bound <= 0) {
        std::cerr << "vedozer-defserver: cannot listen on " << bind << ":" << port << std::endl;
        return 1;
    }
    std::cout << "vedozer-defserver: serving " << repository.changeSetCount() << " change sets from " << repo
              << " at http://" << bind << ":" << bound << std::endl;

    std::thread waiter([&] {
        int sig = 0;
        sigwait(&stopSignals, &sig);
        server.stop();
    });
    bool ok = server.listen_after_bind();
    if (!ok) {
        // listen ended without a signal: let the waiter go.
        pthread_kill(waiter.native_handle(), SIGTERM);
    }
    waiter.join();
    return ok ? 0 : 1;
}
