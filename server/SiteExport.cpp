#include "SiteExport.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <set>

#include "FeedSigner.h"
#include "Repository.h"
#include "definitions/DefinitionFiles.h"

namespace vedozer::server {

namespace fs = std::filesystem;

namespace {

class SiteWriter {
public:
    explicit SiteWriter(fs::path root) : m_root(std::move(root)) {}

    void write(const fs::path& relative, const std::string& content) {
        fs::path p = m_root / relative;
        fs::create_directories(p.parent_path());
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out << content;
        out.flush();
        if (!out) throw ExportError("cannot write " + p.string());
        m_bytes += content.size();
    }
    uint64_t bytes() const { return m_bytes; }

private:
    fs::path m_root;
    uint64_t m_bytes = 0;
};

std::string readWhole(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) throw ExportError("cannot read " + p.string());
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw ExportError("cannot read " + p.string());
    return content;
}

// The language folders the live server would answer for: a product number of 1 to 6 digits,
// written without leading zeros.
bool isServedLanguageFolder(const std::string& name) {
    if (name.empty() || name.size() > 6) return false;
    for (char c : name) {
        if (c < '0' || c > '9') return false;
    }
    return name == "0" || name[0] != '0';
}

void checkTarget(const fs::path& out) {
    std::error_code ec;
    auto status = fs::symlink_status(out, ec);
    if (!fs::exists(status)) return;
    if (!fs::is_directory(status)) throw ExportError(out.string() + " exists and is not a folder");
    if (!fs::is_empty(out, ec))
        throw ExportError(out.string() + " is not empty: export each release into a new folder");
}

void fillSite(SiteWriter& site, const fs::path& repo, Repository& repository, const std::vector<ChangeSet>& sets,
              const ExportOptions& options, const FeedSigner* signer, ExportSummary& summary) {
    const DateValue newest = repository.currentDate();
    const std::string date = signer ? signer->dateReply(fullDateText(newest)) : fullDateText(newest);
    site.write("asp/currentDateNEW.asp", date);
    site.write("asp/date.asp", date);

    std::set<DateValue> dates;
    for (const auto& s : sets) dates.insert(s.date);
    dates.insert(*ParseGeneralDate(kDefaultDefinitionDate));
    for (const DateValue& d : dates) {
        std::string feed = buildFeed(sets, d);
        site.write("feeds/" + feedFileName(d), signer ? signer->feed(feed, d, std::max(d, newest)) : feed);
    }
    summary.feeds = dates.size();

    std::error_code ec;
    for (const auto& e : fs::directory_iterator(repo / "Languages", ec)) {
        const std::string name = e.path().filename().string();
        if (!isServedLanguageFolder(name)) continue;
        fs::path file = e.path() / "Localization.txt";
        if (!fs::is_regular_file(file, ec)) continue;
        site.write(fs::path("Languages") / name / "Localization.txt", readWhole(file));
        ++summary.languageFiles;
    }

    site.write("nginx/vedozer-http.conf", nginxHttpSnippet(options));
    site.write("nginx/vedozer-server.conf", nginxServerSnippet());
    summary.newest = newest;
    summary.changeSets = sets.size();
    summary.bytes = site.bytes();
}

}  // namespace

std::string feedFileName(const DateValue& installed) {
    std::string name = FormatGeneralDate(installed);
    for (char& c : name) {
        if (c == '/' || c == ':') c = '-';
        if (c == ' ') c = '_';
    }
    return name + ".txt";
}

ExportSummary exportSite(const fs::path& repo, const fs::path& out, const ExportOptions& options) {
    if (!isCollectorAddress(options.collector))
        throw ExportError("the collector must be host:port or unix:/path, not \"" + options.collector + "\"");
    if (out.filename().empty()) throw ExportError("name the site folder without a trailing \"/\"");
    checkTarget(out);

    std::optional<FeedSigner> signer;
    if (!options.keyFile.empty()) signer = FeedSigner::load(options.keyFile);
    Repository repository(repo);
    repository.load();
    const std::vector<ChangeSet> sets = repository.changeSets();

    const fs::path partial =
        out.parent_path() / ("." + out.filename().string() + ".partial-" + std::to_string(::getpid()));
    std::error_code ec;
    fs::remove_all(partial, ec);
    ExportSummary summary;
    try {
        fs::create_directories(partial);
        SiteWriter site(partial);
        fillSite(site, repo, repository, sets, options, signer ? &*signer : nullptr, summary);
        checkTarget(out);
        if (fs::exists(out)) fs::remove(out);
        fs::rename(partial, out);
    } catch (const fs::filesystem_error& e) {
        fs::remove_all(partial, ec);
        throw ExportError(e.what());
    } catch (...) {
        fs::remove_all(partial, ec);
        throw;
    }
    return summary;
}

}  // namespace vedozer::server
