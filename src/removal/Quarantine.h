#pragma once
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "removal/QuarantineIndex.h"
#include "removal/RegistryBackup.h"

namespace vedozer {

// The quarantine folder (data folder + "\quarantine"): copies of removed files and folders, saved
// registry data, the log for people (QuarantineLog.txt) and the index for the program
// (QuarantineIndex.txt).
//
// Nothing is ever lost to a crash: an item is first copied whole into the folder (written to a
// temporary name, flushed, renamed), then recorded in the index (flushed), and only then may the
// caller delete the original. A copy never replaces another one: a second "a.exe" is stored as
// "a (2).exe".
class Quarantine {
public:
    static constexpr const char* kFolderName = "quarantine";
    static constexpr const char* kLogName = "QuarantineLog.txt";
    static constexpr const char* kIndexName = "QuarantineIndex.txt";

    // dataFiles holds the data folder (a host path on the image backend).
    Quarantine(FileSystem& dataFiles, std::string dataFolder, Clock& clock);

    FileSystem& dataFiles() { return m_data; }
    // The system whose items are stored from now on; recorded with each entry.
    void setTarget(TargetIdentity target) { m_target = std::move(target); }
    const TargetIdentity& target() const { return m_target; }
    std::string folder() const { return m_dataFolder + "\\" + kFolderName; }
    std::string logPath() const { return folder() + "\\" + kLogName; }
    std::string indexPath() const { return folder() + "\\" + kIndexName; }
    std::string storedPath(const std::string& storedName) const { return folder() + "\\" + storedName; }

    // Creates the folder (an existing one is no error) and drops temporary copies that a crash
    // left behind (their originals were never deleted).
    bool prepare();

    // Copies a file of `source` into the folder and records it. Empty when the copy or the record
    // failed; then nothing of it stays in the folder and the original must not be deleted.
    std::optional<QuarantineEntry> storeFile(FileSystem& source, const std::string& path,
                                             const std::string& spywareName);
    // The same for a folder with everything in it.
    std::optional<QuarantineEntry> storeFolder(FileSystem& source, const std::string& path,
                                               const std::string& spywareName);
    // Saves registry data (a value, or a key with its subtree) and records it.
    std::optional<QuarantineEntry> storeRegistry(const RegistryBackup& backup, const std::string& spywareName);

    // The removal of a stored item failed and the original is still in place: marks the entry and
    // drops the copy. The caller must have made sure the original still exists.
    void withdraw(const QuarantineEntry& entry);
    bool markRestored(uint64_t id);

    // Appends a record to QuarantineLog.txt (created on first use). Errors are ignored.
    void logFile(const std::string& bareName, const std::string& path);
    void logRegistryEntry(const std::string& keyText, const std::string& valueText);

    // The index as it is on disk now.
    std::vector<QuarantineEntry> entries();
    std::optional<QuarantineEntry> entry(uint64_t id);

    // A name for a new copy: the bare name when free, else "name (2).ext", "name (3).ext", ...
    // Names the folder itself uses (log, index, temporary and restore-point names) never qualify.
    std::string uniqueName(const std::string& bareName);
    static bool isReservedName(const std::string& name);
    // "name.ext" -> "name (n).ext"; a leading dot does not start an extension.
    static std::string numberedName(const std::string& bareName, int n);

    std::string now();  // general date-and-time text

private:
    void load();
    bool appendIndex(const std::string& record);
    // The entry and the system it came from, in one write.
    bool recordEntry(const QuarantineEntry& entry);
    QuarantineEntry newEntry(QuarantineKind kind, const std::string& location, const std::string& spywareName);

    FileSystem& m_data;
    std::string m_dataFolder;
    Clock& m_clock;
    bool m_loaded = false;
    uint64_t m_nextId = 1;
    bool m_indexEndsClean = true;
    std::set<std::string> m_taken;  // upper-cased stored names known from the index
    TargetIdentity m_target;
};

}  // namespace vedozer
