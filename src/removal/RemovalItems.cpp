// Removal of single items: programs, libraries, other files, folders and cookies.
#include <algorithm>
#include <optional>

#include "definitions/DefinitionFiles.h"
#include "definitions/PathTokens.h"
#include "removal/CrossCopy.h"
#include "removal/Removal.h"
#include "removal/RemovalText.h"
#include "scan/ProcessList.h"
#include "scan/ProgramStop.h"
#include "text/Text.h"

namespace vedozer {
namespace {

constexpr int kDeleteTries = 8;

std::string copyFailed(const Quarantine& q) {
    return q.problem().empty() ? "the copy into the quarantine failed" : q.problem();
}

// True when every file and folder of a folder's stored copy is still in its place: its delete
// took nothing away.
bool nothingTakenAway(FileSystem& original, const std::string& folder, FileSystem& stored, const std::string& copy) {
    if (!original.folderExists(folder)) return false;
    for (const FileInfo& e : stored.list(copy)) {
        const std::string there = folder + "\\" + e.name;
        auto found = original.lookup(there);
        if (!found || found->isDirectory() != e.isDirectory()) return false;
        if (e.isDirectory() && !nothingTakenAway(original, there, stored, copy + "\\" + e.name)) return false;
    }
    return true;
}

}  // namespace

bool Removal::deleteWithRetries(const std::string& path, int tries) {
    FileSystem& files = *m_platform.files;
    for (int i = 0; i < tries; ++i) {
        if (!files.lookup(path)) break;
        files.deleteFile(path);
        m_host->yield();
    }
    return !files.lookup(path);
}

void Removal::settleFailedDelete(const QuarantineEntry& entry, const std::string& path) {
    // Only an original still whole in place makes the copy spare; anything else keeps it (a
    // folder deleted in part: what went is in the copy).
    FileSystem& files = *m_platform.files;
    bool inPlace = entry.kind == QuarantineKind::Folder
                       ? nothingTakenAway(files, path, m_quarantine.dataFiles(), m_quarantine.storedPath(entry.storedName))
                       : static_cast<bool>(files.lookup(path));
    if (inPlace) m_quarantine.withdraw(entry);
}

bool Removal::stopProgram(const std::string& fileName, const std::string& fullPath) {
    return stopRunningProgram(m_platform, *m_host, fileName, fullPath) != ProgramStopResult::Refused;
}

Outcome Removal::removeExecutableFile(const std::string& path, const std::string& spywareName) {
    if (path.find('\\') == std::string::npos) return Outcome::skipped("not a path");
    if (!FileExists(*m_platform.files, path)) return Outcome::skipped("no longer there");
    if (!stopProgram(FileNamePart(path), path)) {
        note(path + ": the program could not be stopped; the file was left in place.");
        return Outcome::notDone("the program could not be stopped");
    }
    return quarantineAndDelete(path, spywareName);
}

Outcome Removal::quarantineAndDelete(const std::string& path, const std::string& spywareName) {
    if (!FileExists(*m_platform.files, path)) return Outcome::skipped("no longer there");
    auto entry = m_quarantine.storeFile(*m_platform.files, path, spywareName);
    if (!entry) {
        note(path + ": the copy into the quarantine failed; the file was not deleted.");
        return Outcome::notDone(copyFailed(m_quarantine));
    }
    if (deleteWithRetries(path, kDeleteTries)) {
        m_quarantine.logFile(entry->storedName, path);
        return Outcome::done();
    }
    settleFailedDelete(*entry, path);
    return Outcome::notDone("the file could not be deleted");
}

bool Removal::registerServer(const std::string& path, bool registerFlag) {
    ComServer* com = m_platform.comServer;
    if (!com || !com->isAvailable()) {
        note(path + ": the library's COM registration cannot be " + (registerFlag ? "added" : "removed") +
             " on this system.");
        return true;
    }
    bool ok = registerFlag ? com->registerServer(path) : com->unregisterServer(path);
    if (!ok)
        note(path + ": the library's COM registration could not be " + (registerFlag ? "added." : "removed."));
    return ok;
}

Outcome Removal::removeLibraryFile(const std::string& path, const std::string& spywareName) {
    if (path.find('\\') == std::string::npos) return Outcome::skipped("not a path");
    if (!FileExists(*m_platform.files, path)) return Outcome::skipped("no longer there");
    registerServer(path, false);
    auto entry = m_quarantine.storeFile(*m_platform.files, path, spywareName);
    if (!entry) {
        note(path + ": the copy into the quarantine failed; the file was not deleted.");
        return Outcome::notDone(copyFailed(m_quarantine));
    }
    if (m_platform.files->deleteFile(path) && !m_platform.files->lookup(path)) {
        m_quarantine.logFile(entry->storedName, path);
        return Outcome::done();
    }
    settleFailedDelete(*entry, path);
    return Outcome::notDone("the file could not be deleted");
}

Outcome Removal::removeFileOrFolder(const std::string& path, const std::string& spywareName) {
    FileSystem& files = *m_platform.files;
    if (path.find('\\') == std::string::npos) return Outcome::skipped("not a path");
    // A folder definition that comes to a whole drive ("[drive]", "C:\.") is refused before
    // anything is copied: a drive is no spyware folder, and its copy would fill the quarantine.
    if (NamesDriveRoot(path)) {
        note(path + ": a whole drive is never removed; it was left as it is.");
        return Outcome::notDone("a whole drive is never removed");
    }
    bool isFile = FileExists(files, path);
    if (!isFile && !files.folderExists(path)) return Outcome::skipped("no longer there");
    if (isFile) return quarantineAndDelete(path, spywareName);
    std::string folder = withoutTrailingSeparators(path);
    auto entry = m_quarantine.storeFolder(files, folder, spywareName);
    if (!entry) {
        note(folder + ": the copy into the quarantine failed; the folder was not deleted.");
        return Outcome::notDone(copyFailed(m_quarantine));
    }
    if (!files.deleteFolder(folder) || files.folderExists(folder)) {
        settleFailedDelete(*entry, folder);
        return Outcome::notDone("the folder could not be deleted (or only in part)");
    }
    return Outcome::done();
}

Outcome Removal::removeCookieFile(const std::string& path, const std::string& spywareName) {
    auto entry = m_quarantine.storeFile(*m_platform.files, path, spywareName);
    if (!entry) {
        note(path + ": the copy into the quarantine failed; the cookie was not deleted.");
        return Outcome::notDone(copyFailed(m_quarantine));
    }
    if (m_platform.files->deleteFile(path)) {
        m_quarantine.logFile(entry->storedName, path);
        return Outcome::done();
    }
    settleFailedDelete(*entry, path);
    return Outcome::notDone("the cookie could not be deleted");
}

}  // namespace vedozer
