#include "update/UpdateTransaction.h"

#include <algorithm>

#include "text/Text.h"

namespace vedozer {

namespace {

constexpr char kJournalName[] = "update.journal";
constexpr char kJournalHeader[] = "VEDOZER UPDATE 1";
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

// The file names of a complete, well-formed journal; empty when it is not one.
std::vector<std::string> readJournal(const std::string& content, bool& valid) {
    valid = false;
    std::vector<std::string> lines = text::split(content, "\r\n");
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    if (lines.size() < 2 || lines.front() != kJournalHeader || lines.back() != kJournalEnd) return {};
    std::vector<std::string> names(lines.begin() + 1, lines.end() - 1);
    for (const auto& n : names) {
        if (!isKnownName(n)) return {};
    }
    valid = true;
    return names;
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
    std::string journal = std::string(kJournalHeader) + "\r\n";
    for (const auto& n : m_staged) journal += n + "\r\n";
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
        std::vector<std::string> names = content ? readJournal(*content, valid) : std::vector<std::string>{};
        if (valid) {
            for (const auto& n : names) {
                std::string scratch = at(n) + kScratchSuffix;
                if (isFile(fs, scratch) && !fs.renameFile(scratch, at(n))) {
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
        if (!content) {
            result.action = RecoveryAction::Failed;
            result.error = "could not read " + fs.displayPath(journalPath);
            return result;
        }
        fs.deleteFile(journalPath);
        result.action = RecoveryAction::RolledBack;
    }
    std::vector<std::string> scratchNames;
    for (const auto& n : transactionFileNames()) scratchNames.push_back(n + kScratchSuffix);
    scratchNames.push_back(std::string(kJournalName) + kScratchSuffix);
    for (const auto& name : scratchNames) {
        if (isFile(fs, at(name))) {
            fs.deleteFile(at(name));
            result.action = RecoveryAction::RolledBack;
        }
    }
    if (isFile(fs, at("temp.dat"))) {
        fs.deleteFile(at("temp.dat"));
        result.action = RecoveryAction::RolledBack;
    }
    return result;
}

}  // namespace vedozer
