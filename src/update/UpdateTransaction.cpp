#include "update/UpdateTransaction.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "text/Text.h"

namespace vedozer {

namespace {

constexpr char kJournalName[] = "update.journal";
// Version 1 journals name the files; version 2 adds each new file's size, so that recovery can
// tell a file already put in place from one whose new version was lost.
constexpr char kJournalHeaderV1[] = "VEDOZER UPDATE 1";
constexpr char kJournalHeader[] = "VEDOZER UPDATE 2";
constexpr char kJournalEnd[] = "COMMIT";
constexpr char kScratchSuffix[] = ".upd";

bool isFile(FileSystem& fs, const std::string& p) {
    auto info = fs.lookup(p);
    return info && !info->isDirectory();
}

bool isKnownName(const std::string& name) {
    const auto& names = transactionFileNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

struct JournalEntry {
    std::string name;
    std::optional<uint64_t> size;  // of the new version; unknown in version 1 journals
};

// The entries of a complete, well-formed journal; empty when it is not one.
std::vector<JournalEntry> readJournal(const std::string& content, bool& valid) {
    valid = false;
    std::vector<std::string> lines = text::split(content, "\r\n");
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    if (lines.size() < 2 || lines.back() != kJournalEnd) return {};
    const bool sized = lines.front() == kJournalHeader;
    if (!sized && lines.front() != kJournalHeaderV1) return {};
    std::vector<JournalEntry> entries;
    for (size_t i = 1; i + 1 < lines.size(); ++i) {
        JournalEntry e;
        std::string_view line = lines[i];
        if (sized) {
            size_t tab = line.find('\t');
            if (tab == std::string_view::npos) return {};
            uint64_t size = 0;
            std::string_view digits = line.substr(tab + 1);
            auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), size);
            if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) return {};
            e.size = size;
            line = line.substr(0, tab);
        }
        e.name = std::string(line);
        if (!isKnownName(e.name)) return {};
        entries.push_back(std::move(e));
    }
    valid = true;
    return entries;
}

// The first journaled file whose new version is neither waiting under its scratch name nor in
// place: something deleted it, so finishing the update would leave a mix of old and new files.
// Scratch files are renamed in journal order, so one still waiting after a missing one is also
// a gap. Empty when every file is accounted for.
std::string firstLostFile(FileSystem& fs, const std::string& folder,
                          const std::vector<JournalEntry>& entries) {
    bool waitingSeen = false;
    for (const auto& e : entries) {
        const std::string target = folder + "\\" + e.name;
        if (isFile(fs, target + kScratchSuffix)) {
            waitingSeen = true;
            continue;
        }
        auto info = fs.lookup(target);
        bool inPlace = info && !info->isDirectory() && (!e.size || info->size == *e.size);
        if (waitingSeen || !inPlace) return e.name;
    }
    return "";
}

// Deletes every scratch file an update may leave, and "temp.dat". True when there was any.
bool removeScratchFiles(FileSystem& fs, const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& n : transactionFileNames()) names.push_back(n + kScratchSuffix);
    names.push_back(std::string(kJournalName) + kScratchSuffix);
    names.push_back("temp.dat");
    bool any = false;
    for (const auto& name : names) {
        const std::string p = folder + "\\" + name;
        if (isFile(fs, p)) {
            fs.deleteFile(p);
            any = true;
        }
    }
    return any;
}

}  // namespace

const std::vector<std::string>& transactionFileNames() {
    static const std::vector<std::string> names = {"FileDefinition.dat",      "ExeDefinition.dat",
                                                   "RegistryDefinition.dat",  "BlockedCookies.dat",
                                                   "DirectoryDefinition.dat", "Safety.dat",
                                                   "date.dat"};
    return names;
}

UpdateTransaction::UpdateTransaction(FileSystem& fs, std::string dataFolder)
    : m_fs(fs), m_folder(std::move(dataFolder)) {}

UpdateTransaction::~UpdateTransaction() {
    if (!m_done) rollback();
}

std::string UpdateTransaction::path(const std::string& fileName) const { return m_folder + "\\" + fileName; }

std::string UpdateTransaction::scratchPath(const std::string& fileName) const {
    return path(fileName) + kScratchSuffix;
}

std::unique_ptr<OutputStream> UpdateTransaction::openScratch(const std::string& fileName) {
    return m_fs.openWrite(scratchPath(fileName), false);
}

bool UpdateTransaction::stageText(const std::string& fileName, const std::string& content) {
    auto out = openScratch(fileName);
    if (!out) return false;
    bool ok = out->write(content);
    ok = out->close() && ok;
    if (!ok) {
        m_fs.deleteFile(scratchPath(fileName));
        return false;
    }
    staged(fileName);
    return true;
}

void UpdateTransaction::staged(const std::string& fileName) {
    if (std::find(m_staged.begin(), m_staged.end(), fileName) == m_staged.end()) m_staged.push_back(fileName);
}

void UpdateTransaction::unstage(const std::string& fileName) {
    m_staged.erase(std::remove(m_staged.begin(), m_staged.end(), fileName), m_staged.end());
    m_fs.deleteFile(scratchPath(fileName));
}

bool UpdateTransaction::commit(std::string& error) {
    m_done = true;
    if (m_staged.empty()) return true;
    // date.dat goes in place last: until every definition file is new, the old date stands.
    std::stable_partition(m_staged.begin(), m_staged.end(),
                          [](const std::string& n) { return n != "date.dat"; });
    std::string journal = std::string(kJournalHeader) + "\r\n";
    for (const auto& n : m_staged) {
        // A journal names only files whose new version is here: one that vanished before the
        // commit point fails the update instead of leaving a mix for recovery to complete.
        auto info = m_fs.lookup(scratchPath(n));
        if (!info || info->isDirectory()) {
            rollback();
            error = "the new " + n + " disappeared before it could be installed; nothing was changed";
            return false;
        }
        journal += n + "\t" + std::to_string(info->size) + "\r\n";
    }
    journal += std::string(kJournalEnd) + "\r\n";
    // Written under a scratch name and renamed: the journal appears whole or not at all.
    const std::string journalScratch = path(kJournalName) + kScratchSuffix;
    auto out = m_fs.openWrite(journalScratch, false);
    bool written = out && out->write(journal);
    if (out) written = out->close() && written;
    if (!written || !m_fs.renameFile(journalScratch, path(kJournalName))) {
        m_fs.deleteFile(journalScratch);
        rollback();
        error = "the update could not be recorded in " + m_fs.displayPath(path(kJournalName));
        return false;
    }
    // Committed: from here on recovery completes the replacement whatever happens.
    for (const auto& n : m_staged) {
        if (!m_fs.renameFile(scratchPath(n), path(n))) {
            error = "the new " + n + " could not be put in place; it will be at the next start";
            return false;
        }
    }
    m_fs.deleteFile(path(kJournalName));
    m_staged.clear();
    return true;
}

void UpdateTransaction::rollback() {
    m_done = true;
    for (const auto& n : m_staged) m_fs.deleteFile(scratchPath(n));
    m_staged.clear();
}

RecoveryResult recoverDefinitionUpdate(FileSystem& fs, const std::string& dataFolder) {
    RecoveryResult result;
    auto at = [&](const std::string& name) { return dataFolder + "\\" + name; };
    const std::string journalPath = at(kJournalName);
    if (isFile(fs, journalPath)) {
        auto content = fs.readAll(journalPath, 64 * 1024);
        bool valid = false;
        std::vector<JournalEntry> entries =
            content ? readJournal(*content, valid) : std::vector<JournalEntry>{};
        const std::string lost = valid ? firstLostFile(fs, dataFolder, entries) : "";
        if (valid && lost.empty()) {
            for (const auto& e : entries) {
                std::string scratch = at(e.name) + kScratchSuffix;
                if (isFile(fs, scratch) && !fs.renameFile(scratch, at(e.name))) {
                    result.action = RecoveryAction::Failed;
                    result.error = "could not complete the interrupted definition update: " + fs.displayPath(scratch);
                    return result;
                }
            }
            if (!fs.deleteFile(journalPath)) {
                result.action = RecoveryAction::Failed;
                result.error = "could not remove " + fs.displayPath(journalPath);
                return result;
            }
            result.action = RecoveryAction::RolledForward;
            return result;
        }
        if (valid) {
            // Without the journal the rest is rolled back below, the new date.dat with it: the
            // definitions keep the date they had, and the next update fetches the changes again.
            if (!fs.deleteFile(journalPath)) {
                result.action = RecoveryAction::Failed;
                result.error = "could not remove " + fs.displayPath(journalPath);
                return result;
            }
            removeScratchFiles(fs, dataFolder);
            result.action = RecoveryAction::Incomplete;
            result.error =
                "the interrupted definition update had lost the new " + lost +
                ": what was not installed yet was discarded, and the definitions keep their date so "
                "that the next Live Update fetches the changes again";
            return result;
        }
        if (!content) {
            result.action = RecoveryAction::Failed;
            result.error = "could not read " + fs.displayPath(journalPath);
            return result;
        }
        fs.deleteFile(journalPath);
        result.action = RecoveryAction::RolledBack;
    }
    if (removeScratchFiles(fs, dataFolder)) result.action = RecoveryAction::RolledBack;
    return result;
}

}  // namespace vedozer
