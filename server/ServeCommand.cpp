#include "ServeCommand.h"

#include <csignal>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <thread>

#include "DefServer.h"

namespace vedozer::server {

int serve(const ServeOptions& options) {
    std::unique_ptr<Repository> repository;
    if (!options.collectOnly) {
        repository = std::make_unique<Repository>(options.repo);
        try {
            repository->load();
        } catch (const std::exception& e) {
            std::cerr << "vedozer-defserver: " << e.what() << std::endl;
            return 1;
        }
        for (const std::string& problem : repository->languageFileProblems())
            std::cerr << "vedozer-defserver: warning: clients will refuse " << problem << std::endl;
    }
    std::optional<FeedSigner> signer;
    if (!options.keyFile.empty()) {
        try {
            signer = FeedSigner::load(options.keyFile);
        } catch (const std::exception& e) {
            std::cerr << "vedozer-defserver: " << e.what() << std::endl;
            return 1;
        }
    }
    SubmissionLog submissions(options.submissionsFile, options.rememberedNames);

    // SIGINT and SIGTERM are blocked here (and so in every thread started later) and taken by
    // one waiting thread, which stops the server.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    HttpListener listener(options.limits);
    if (repository) installDefinitionRoutes(listener, *repository, signer ? &*signer : nullptr);
    installSubmissionRoute(listener, submissions, options.proxied);
    installNotFound(listener);
    if (!options.quiet) {
        installRequestLog(listener);
        listener.setNoticeLog([](const std::string& line) { std::cerr << escapeLogText(line) << std::endl; });
    }
    if (std::string error = listener.open(options.bind, options.port); !error.empty()) {
        std::cerr << "vedozer-defserver: cannot listen on " << options.bind << ":" << options.port << ": "
                  << error << std::endl;
        return 1;
    }
    if (repository) {
        std::cout << "vedozer-defserver: serving " << repository->changeSetCount() << " change sets from "
                  << options.repo;
    } else {
        std::cout << "vedozer-defserver: collecting submissions into " << options.submissionsFile;
    }
    std::cout << " at http://" << options.bind << ":" << listener.port() << std::endl;

    std::thread waiter([&] {
        int sig = 0;
        sigwait(&stopSignals, &sig);
        listener.stop();
    });
    const bool ok = listener.run();
    pthread_kill(waiter.native_handle(), SIGTERM);  // lets the waiter go when run() ended by itself
    waiter.join();
    return ok ? 0 : 1;
}

}  // namespace vedozer::server
