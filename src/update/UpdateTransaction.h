#pragma once
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace vedozer {

// Replaces several files of the data folder together, so that a crash or kill at any moment
// leaves either all the old files or all the new ones.
//
// 1. Each new file is written completely under its scratch name ("<name>.upd") and flushed.
// 2. The journal "update.journal" naming every replaced file, ended by a "COMMIT" line, is
//    written as "update.journal.upd", flushed and renamed. Its appearance is the commit point.
// 3. Each scratch file is renamed over its target (the rename replaces atomically).
// 4. The journal is deleted.
//
// recoverDefinitionUpdate, run before the files are used, finishes what a killed run left: with
// a complete journal the remaining renames are done (roll forward); without one every scratch
// file is deleted (roll back). When a journaled file is neither waiting nor in place (something
// deleted it), the rest is rolled back and date.dat keeps the old date. Only the names in
// transactionFileNames() ever take part, so a damaged journal cannot move any other file.
//
// Recovery deletes what a running update is writing: only the holder of the instance lock of
// the data folder may run it.
class UpdateTransaction {
public:
    UpdateTransaction(FileSystem& fs, std::string dataFolder);
    ~UpdateTransaction();
    UpdateTransaction(const UpdateTransaction&) = delete;
    UpdateTransaction& operator=(const UpdateTransaction&) = delete;

    // Where the new version of a file is written before the commit.
    std::string scratchPath(const std::string& fileName) const;
    // Starts writing the new version of a file; null when it cannot be created.
    std::unique_ptr<OutputStream> openScratch(const std::string& fileName);
    // Stages a small file given whole (date.dat). False when it could not be written and flushed.
    bool stageText(const std::string& fileName, const std::string& content);
    // Records that the scratch file of fileName is complete (written and closed without error).
    void staged(const std::string& fileName);
    // Forgets a staged file and deletes its scratch copy.
    void unstage(const std::string& fileName);
    const std::vector<std::string>& stagedFiles() const { return m_staged; }

    // Makes every staged file current, date.dat last. Every staged file must still be there
    // (else nothing changes). On failure before the commit point nothing changes;
    // after it, the journal stays for recovery to finish. error says why.
    bool commit(std::string& error);
    // Deletes all scratch files; the current files stay as they are.
    void rollback();

private:
    std::string path(const std::string& fileName) const;

    FileSystem& m_fs;
    std::string m_folder;
    std::vector<std::string> m_staged;
    bool m_done = false;
};

// The files a definition update may replace: the six definition files and date.dat.
const std::vector<std::string>& transactionFileNames();

// Incomplete: a committed update had lost a file; what was left of it was rolled back (error says which).
enum class RecoveryAction { Nothing, RolledBack, RolledForward, Incomplete, Failed };

struct RecoveryResult {
    RecoveryAction action = RecoveryAction::Nothing;
    std::string error;
};

// Finishes or undoes an interrupted update in the data folder; also discards the scratch file
// "temp.dat" of an earlier interrupted merge, which is never merged.
RecoveryResult recoverDefinitionUpdate(FileSystem& fs, const std::string& dataFolder);

}  // namespace vedozer
