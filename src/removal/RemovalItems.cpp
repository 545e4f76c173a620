// Removal of single items: programs, libraries, other files, folders and cookies.
#include <algorithm>
#include <optional>

#include "definitions/DefinitionFiles.h"
#include "removal/CrossCopy.h"
#include "removal/Removal.h"
#include "removal/RemovalText.h"
#include "scan/ProcessList.h"
#include "text/Text.h"

namespace vedozer {
namespace {

constexpr int kDeleteTries = 8;
constexpr int kStopTries = 11;

// "\??\C:\x" and "\\?\C:\x" name the same file as "C:\x".
std::string plainPath(const std::string& path) {
    if (text::istartsWith(path, "\\??\\") || text::istartsWith(path, "\\\\?\\")) return path.substr(4);
    return path;
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
    // Only an original still in place makes the copy spare; anything else keeps it.
    FileSystem& files = *m_platform.files;
    bool inPlace = entry.kind == QuarantineKind::Folder ? false : static_cast<bool>(files.lookup(path));
    if (inPlace) m_quarantine.withdraw(entry);
}

bool Removal::stopProgram(const std::string& fileName, const std::string& fullPath) {
    Processes* processes = m_platform.processes;
    if (!processes) return true;
    SystemInfo* systemInfo = m_platform.systemInfo;
    const std::string systemFolder = systemInfo ? systemInfo->systemFolder() : "";
    const std::string shortForm = shortProgramName(fileName);
    const std::string wanted = processMatchName(fileName);
    std::string wantedPath = plainPath(fullPath);
    if (!systemFolder.empty() && !wantedPath.empty()) wantedPath = NormalizeSystemPath(wantedPath, systemFolder);
    ProcessListing running = ListProcesses(*processes, "", true);
    std::optional<uint32_t> match;
    for (size_t i = 0; i < running.size() && !match; ++i) {
        std::string q = processMatchName(running.names[i]);
        if (q == wanted || q == shortForm) {
            // Where the file is known, a namesake elsewhere on the system is left alone.
            std::string image = plainPath(processes->mainModulePath(running.ids[i]));
            if (!systemFolder.empty()) image = NormalizeSystemPath(image, systemFolder);
            if (wantedPath.empty() || text::iequals(image, wantedPath)) match = running.ids[i];
        }
        if (!match) m_host->yield();
    }
    if (!match) return true;
    for (int i = 0; i < kStopTries; ++i) {
        if (KillProcessById(*processes, systemInfo, *match, 0)) return true;
        if (m_platform.clock) m_platform.clock->sleepMillis(1);
        auto ids = processes->processIds();
        if (std::find(ids.begin(), ids.end(), *match) == ids.end()) return true;
    }
    return false;
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
