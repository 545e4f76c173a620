#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/Events.h"
#include "platform/Registry.h"
#include "scan/ScanCounters.h"

namespace vedozer {

// Small-icon numbers of the results lists.
enum ThreatIcon : int {
    kIconNone = 0,
    kIconCookie = 1,
    kIconRegistry = 2,
    kIconFile = 3,  // also a program stopped in memory
    kIconFolder = 4,
    kIconExcluded = 5,
};

// One row of the removal list, the list the user checks and removes from: one per spyware name
// (one per cookie file for cookies).
struct ThreatRecord {
    std::string name;      // "Spyware/Adware Found"
    std::string location;  // "Location": where that name was first detected
    std::string type;      // "Type": empty unless the definition had one
    int icon = kIconNone;
    bool checked = false;
    bool operator==(const ThreatRecord&) const = default;
};

// A row of the found list shown during the scan.
struct FoundRow {
    std::string text;
    int icon = kIconNone;
    bool checked = false;
    bool operator==(const FoundRow&) const = default;
};

// The work lists removal walks. Files: one row per file or folder detection.
struct FileWorkRow {
    std::string path;
    std::string spywareName;
    bool checked = false;  // kept in step with the removal list by removal
    bool folder = false;   // a folder definition's detection
    bool operator==(const FileWorkRow&) const = default;
};

// Registry: one row per value or key detection.
struct RegistryWorkRow {
    std::string mainKey;    // the root key's handle value in signed decimal
    std::string keyPath;
    std::string valueName;  // empty for a whole key
    std::string spywareName;
    bool checked = false;
    bool operator==(const RegistryWorkRow&) const = default;
};

// Cookies: the cookie file's full path.
struct CookieWorkRow {
    std::string path;
    bool checked = false;
    bool operator==(const CookieWorkRow&) const = default;
};

// A running program of a definition the memory stage met (and stopped, when it could).
struct ProgramFound {
    std::string fileName;
    bool stopped = false;
    bool operator==(const ProgramFound&) const = default;
};

// The predefined handle of a root key read as a signed 32-bit number.
int32_t rootKeyHandle(RootKey root);
std::string rootKeyHandleText(RootKey root);  // "-2147483646" for the local machine
std::optional<RootKey> rootKeyFromHandleText(std::string_view text);

// The lists a scan fills: the removal list the user works with, the found list shown
// during the scan, and the hidden work lists removal walks, plus the trace count. Every change
// bumps revision(), so a window can redraw lazily; every detection and every excluded item also
// goes to the listener as it is recorded.
class ScanResults {
public:
    void clear();

    const std::vector<ThreatRecord>& removalList() const { return m_removal; }
    const std::vector<FoundRow>& foundList() const { return m_found; }
    const std::vector<FileWorkRow>& fileDetections() const { return m_files; }
    const std::vector<RegistryWorkRow>& registryDetections() const { return m_registry; }
    const std::vector<CookieWorkRow>& cookieDetections() const { return m_cookies; }
    int32_t traces() const { return m_traces; }
    uint64_t revision() const { return m_revision; }

    // What a scan passed over and why (malformed definition lines, unreadable files), for
    // the person to read afterwards. Only the first kMaxSkippedNotes are kept; all are counted.
    static constexpr size_t kMaxSkippedNotes = 1000;
    void noteSkipped(std::string note);
    const std::vector<std::string>& skippedNotes() const { return m_skipped; }
    size_t skippedCount() const { return m_skippedCount; }
    // Locations of the system the scan could not look at (a registry key the hive library refuses
    // to read, a damaged hive): what is under them was not checked.
    // True when the location is new.
    bool noteUnchecked(std::string location);
    const std::vector<std::string>& uncheckedLocations() const { return m_unchecked; }

    void setListener(std::function<void(const ItemFound&)> listener) { m_listener = std::move(listener); }

    // The found list holds a row whose text begins with name + " - Found", letter case ignored.
    bool isAlreadyFound(std::string_view spywareName) const;
    // The found list holds a row whose text begins with the prefix, letter case ignored.
    bool foundListHasPrefix(std::string_view prefix) const;

    void addFoundRow(std::string text, int icon);
    // "EXCLUDED: " + item with the excluded icon.
    void addExcluded(DetectionKind kind, std::string_view item);
    void addThreat(ThreatRecord record);

    // A work-list row; each counts as one trace.
    void addFileDetection(std::string path, std::string spywareName, bool folder = false);
    void addRegistryDetection(RegistryWorkRow row);
    void addCookieDetection(std::string path, const std::string& cookieName);
    // The memory stage's programs (shown only in the found list).
    void addProgramFound(ProgramFound program) { m_programs.push_back(std::move(program)); }
    const std::vector<ProgramFound>& programsFound() const { return m_programs; }

    // The usual first sighting of a spyware name: unless the found list already has it,
    // adds name + " - Found" to the found list and a removal-list row, and counts the
    // name as found. True when the name was new.
    bool listThreat(const std::string& spywareName, const std::string& location, const std::string& type,
                    int icon, ScanCounters& counters);

    // Removal-list check marks.
    void setChecked(size_t row, bool checked);
    void checkAll(bool checked);
    size_t checkedCount() const;

    // Direct access for removal and exclusion, which tick and drop rows. Found-list rows
    // change only through the calls below, which keep its index in step.
    std::vector<ThreatRecord>& removalRows() { touch(); return m_removal; }
    std::vector<FileWorkRow>& fileRows() { touch(); return m_files; }
    std::vector<RegistryWorkRow>& registryRows() { touch(); return m_registry; }
    std::vector<CookieWorkRow>& cookieRows() { touch(); return m_cookies; }
    void setFoundChecked(size_t row, bool checked);
    // Drops the checked rows of every list (the removal run's last step).
    void eraseCheckedRows();

private:
    void touch() { ++m_revision; }
    void tell(DetectionKind kind, const std::string& name, const std::string& location, bool excluded);

    std::vector<ThreatRecord> m_removal;
    std::vector<FoundRow> m_found;
    std::multiset<std::string> m_foundIndex;  // upper-case found-list texts, for prefix lookups
    std::vector<FileWorkRow> m_files;
    std::vector<RegistryWorkRow> m_registry;
    std::vector<CookieWorkRow> m_cookies;
    std::vector<ProgramFound> m_programs;
    int32_t m_traces = 0;
    uint64_t m_revision = 0;
    std::vector<std::string> m_skipped;
    size_t m_skippedCount = 0;
    std::vector<std::string> m_unchecked;
    std::function<void(const ItemFound&)> m_listener;
};

}  // namespace vedozer
