// Removal of single items: programs, libraries, other files, folders and cookies.
#include <algorithm>
#include <optional>

#include "definitions/DefinitionFiles.h"
#include "removal/CrossCopy.h"
#include "scan/ProgramStop.h"
#include "removal/Removal.h"
#include "removal/RemovalText.h"
#include "scan/ProcessList.h"
#include "text/Text.h"

namespace vedozer {
namespace {

constexpr int kDeleteTries = 8;

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
    // Only an original still in place makes the copy spare; anything else keeps it.
    FileSystem& files = *m_platform.files;
    bool inPlace = entry.kind == QuarantineKind::Folder ? false : static_cast<bool>(files.lookup(path));
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
        return Outcome::notDone("the copy into the quarantine failed");
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
        return Outcome::notDone("the copy into the quarantine failed");
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
    bool isFile = FileExists(files, path);
    if (!isFile && !files.folderExists(path)) return Outcome::skipped("no longer there");
    if (isFile) return quarantineAndDelete(path, spywareName);
    std::string folder = withoutTrailingSeparators(path);
    auto entry = m_quarantine.storeFolder(files, folder, spywareName);
    if (!entry) {
        note(folder + ": the copy into the quarantine failed; the folder was not deleted.");
        return Outcome::notDone("the copy into the quarantine failed");
    }
    // A folder deleted only in part keeps its copy: what is gone is in it.
    if (!files.deleteFolder(folder) || files.folderExists(folder))
        return Outcome::notDone("the folder could not be deleted (or only in part)");
    return Outcome::done();
}

Outcome Removal::removeCookieFile(const std::string& path, const std::string& spywareName) {
    auto entry = m_quarantine.storeFile(*m_platform.files, path, spywareName);
    if (!entry) {
        note(path + ": the copy into the quarantine failed; the cookie was not deleted.");
        return Outcome::notDone("the copy into the quarantine failed");
    }
    if (m_platform.files->deleteFile(path)) {
        m_quarantine.logFile(entry->storedName, path);
        return Outcome::done();
    }
    settleFailedDelete(*entry, path);
    return Outcome::notDone("the cookie could not be deleted");
}

}  // namespace vedozer
