#include "Repository.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "definitions/DefinitionFiles.h"
#include "i18n/LocalizationCheck.h"
#include "i18n/LocalizationParser.h"

namespace vedozer::server {

namespace fs = std::filesystem;

Repository::Repository(fs::path root) : m_root(std::move(root)) {}

std::string Repository::listingSignature() const {
    std::ostringstream sig;
    std::error_code ec;
    std::vector<std::string> entries;
    for (const auto& e : fs::directory_iterator(m_root / "changes", ec)) {
        std::error_code ec2;
        auto size = e.file_size(ec2);
        auto time = e.last_write_time(ec2).time_since_epoch().count();
        entries.push_back(e.path().filename().string() + ":" + std::to_string(size) + ":" + std::to_string(time));
    }
    std::sort(entries.begin(), entries.end());
    for (const auto& s : entries) sig << s << '\n';
    return sig.str();
}

std::vector<ChangeSet> Repository::readAll() const {
    const fs::path changes = m_root / "changes";
    if (!fs::is_directory(changes)) throw RepositoryError("no folder " + changes.string());
    std::vector<ChangeSet> sets;
    for (const auto& e : fs::directory_iterator(changes)) {
        if (!e.is_regular_file()) continue;
        std::string name = e.path().filename().string();
        auto date = changeSetDate(name);
        if (!date) continue;  // other files (notes, editor backups) are not change sets
        std::ifstream in(e.path(), std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        if (!in && !in.eof()) throw RepositoryError("cannot read " + e.path().string());
        sets.push_back(parseChangeSet(content.str(), name, *date));
    }
    std::sort(sets.begin(), sets.end(), [](const ChangeSet& a, const ChangeSet& b) { return a.date < b.date; });
    for (size_t i = 1; i < sets.size(); ++i) {
        if (sets[i].date == sets[i - 1].date)
            throw RepositoryError("two change sets for the same date: " + sets[i - 1].fileName + ", " + sets[i].fileName);
    }
    return sets;
}

void Repository::load() {
    std::string signature = listingSignature();
    auto sets = readAll();
    std::lock_guard lock(m_mutex);
    m_sets = std::move(sets);
    m_signature = std::move(signature);
}

std::string Repository::refresh() {
    std::string signature = listingSignature();
    {
        std::lock_guard lock(m_mutex);
        if (signature == m_signature) return {};
    }
    try {
        auto sets = readAll();
        std::lock_guard lock(m_mutex);
        m_sets = std::move(sets);
        m_signature = std::move(signature);
        return {};
    } catch (const std::exception& e) {
        std::lock_guard lock(m_mutex);
        m_signature = std::move(signature);  // report a bad set once, not on every request
        return e.what();
    }
}

DateValue Repository::currentDate() {
    std::lock_guard lock(m_mutex);
    if (m_sets.empty()) return *ParseGeneralDate(kDefaultDefinitionDate);
    return m_sets.back().date;
}

std::string Repository::feedSince(const DateValue& since, DateValue* reached) {
    std::lock_guard lock(m_mutex);
    if (reached) *reached = m_sets.empty() || m_sets.back().date < since ? since : m_sets.back().date;
    return buildFeed(m_sets, since);
}

size_t Repository::changeSetCount() {
    std::lock_guard lock(m_mutex);
    return m_sets.size();
}

std::vector<ChangeSet> Repository::changeSets() {
    std::lock_guard lock(m_mutex);
    return m_sets;
}

std::optional<fs::path> Repository::localizationFile(int productNumber) const {
    fs::path p = m_root / "Languages" / std::to_string(productNumber) / "Localization.txt";
    std::error_code ec;
    if (fs::is_regular_file(p, ec)) return p;
    return std::nullopt;
}

std::vector<std::string> Repository::languageFileProblems() const {
    std::vector<std::string> problems;
    std::error_code ec;
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(m_root / "Languages", ec)) {
        fs::path file = e.path() / "Localization.txt";
        if (fs::is_regular_file(file, ec)) files.push_back(file);
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        const std::string name = fs::relative(file, m_root, ec).generic_string();
        if (fs::file_size(file, ec) > kLocalizationMaxBytes) {
            problems.push_back(name + ": larger than " + std::to_string(kLocalizationMaxBytes) + " bytes");
            continue;
        }
        std::ifstream in(file, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        LocalizationReport report = reportOn(parseLocalization(content.str()));
        std::string first = !report.fileProblems.empty() ? report.fileProblems.front() : "";
        for (const LanguageReport& language : report.languages)
            if (first.empty() && !language.problems.empty()) first = language.problems.front();
        if (!first.empty()) problems.push_back(name + ": " + first);
    }
    return problems;
}

}  // namespace vedozer::server
