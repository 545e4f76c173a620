// vedozer-defserver: the reference definition server.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>

#include "ChangeSet.h"
#include "FeedSigner.h"
#include "Repository.h"
#include "ServeCommand.h"
#include "SiteExport.h"

namespace {

using namespace vedozer::server;

int runExport(const std::string& repo, const std::string& out, const ExportOptions& options) {
    try {
        for (const std::string& problem : Repository(repo).languageFileProblems())
            std::cerr << "vedozer-defserver: warning: clients will refuse " << problem << std::endl;
        ExportSummary s = exportSite(repo, out, options);
        std::cout << "vedozer-defserver: exported " << s.changeSets << " change sets (newest "
                  << fullDateText(s.newest) << ") as " << s.feeds << " feeds and " << s.languageFiles
                  << " language files, " << s.bytes << " bytes, into " << out << std::endl;
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "vedozer-defserver: export failed: " << e.what() << std::endl;
        return 1;
    }
}

int runKeygen(const std::string& prefix) {
    try {
        std::string publicHex = generateKeyPair(prefix);
        std::cout << "vedozer-defserver: secret key in " << prefix << ".key (keep it on the server), public key in "
                  << prefix << ".pub:\n"
                  << publicHex << "\n"
                  << "Clients check signed replies once this key is their DefinitionServerKey.txt in the data folder."
                  << std::endl;
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "vedozer-defserver: keygen failed: " << e.what() << std::endl;
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"vedozer-defserver: serves definition dates, update feeds, language files and collects submissions"};
    app.require_subcommand(0, 1);
    ServeOptions serve;
    double headerSeconds = 10;
    app.add_option("--repo", serve.repo, "repository folder (changes/, Languages/)")->check(CLI::ExistingDirectory);
    app.add_flag("--collect-only", serve.collectOnly, "only collect submissions (/asp/getData.asp); no repository");
    app.add_option("--port", serve.port, "TCP port; 0 picks a free one (printed at start)")->check(CLI::Range(0, 65535));
    app.add_option("--bind", serve.bind, "address to listen on")->capture_default_str();
    app.add_option("--submissions", serve.submissionsFile, "file submissions are recorded in (default: REPO/submissions.txt)");
    app.add_option("--remember-names", serve.rememberedNames, "distinct submitted names kept in memory to skip repeats")
        ->capture_default_str()
        ->check(CLI::Range(size_t{1}, size_t{100000000}));
    app.add_flag("--proxied", serve.proxied, "behind nginx: the sender of a submission is its X-Real-IP header");
    app.add_option("--header-timeout", headerSeconds, "seconds a client has to send its request head")
        ->capture_default_str()
        ->check(CLI::Range(0.1, 3600.0));
    app.add_option("--workers", serve.limits.workers, "threads answering requests")->capture_default_str()->check(CLI::Range(1, 1024));
    app.add_option("--max-waiting", serve.limits.maxWaiting, "connections still sending their request head")
        ->capture_default_str()
        ->check(CLI::Range(1, 100000));
    app.add_option("--max-queued", serve.limits.maxQueued, "complete requests waiting for a worker")
        ->capture_default_str()
        ->check(CLI::Range(1, 100000));
    app.add_flag("--quiet", serve.quiet, "no request log on stderr");
    app.add_option("--key", serve.keyFile, "secret key file (from keygen): date replies and feeds are signed")
        ->check(CLI::ExistingFile);

    std::string exportRepo, exportOut;
    ExportOptions exportOptions;
    CLI::App* exportCommand = app.add_subcommand(
        "export", "write a static site of the repository (date reply, feeds, language files, nginx snippets)");
    exportCommand->add_option("--repo", exportRepo, "repository folder")->required()->check(CLI::ExistingDirectory);
    exportCommand->add_option("--out", exportOut, "new folder for the site")->required();
    exportCommand->add_option("--collector", exportOptions.collector,
                              "host:port nginx forwards submissions and unknown dates to")
        ->capture_default_str();
    exportCommand->add_option("--key", exportOptions.keyFile, "secret key file: the date reply and feeds are signed")
        ->check(CLI::ExistingFile);

    std::string keyPrefix;
    CLI::App* keygenCommand =
        app.add_subcommand("keygen", "make an Ed25519 key pair: PREFIX.key (secret) and PREFIX.pub (for clients)");
    keygenCommand->add_option("--out", keyPrefix, "path and name of the two files, without extension")->required();
    CLI11_PARSE(app, argc, argv);

    if (exportCommand->parsed()) return runExport(exportRepo, exportOut, exportOptions);
    if (keygenCommand->parsed()) return runKeygen(keyPrefix);

    if (serve.collectOnly && !serve.repo.empty()) {
        std::cerr << "vedozer-defserver: --collect-only takes no --repo" << std::endl;
        return 2;
    }
    if (serve.collectOnly && serve.submissionsFile.empty()) {
        std::cerr << "vedozer-defserver: --collect-only needs --submissions FILE" << std::endl;
        return 2;
    }
    if (!serve.collectOnly && serve.repo.empty()) {
        std::cerr << "vedozer-defserver: --repo is required (or --collect-only)\n" << app.help() << std::flush;
        return 2;
    }
    if (serve.submissionsFile.empty()) serve.submissionsFile = (std::filesystem::path(serve.repo) / "submissions.txt").string();
    serve.limits.headerDeadline = std::chrono::milliseconds(static_cast<long long>(headerSeconds * 1000));
    return vedozer::server::serve(serve);
}
