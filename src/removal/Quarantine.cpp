#include "removal/Quarantine.h"

#include "removal/CrossCopy.h"
#include "removal/QuarantineLog.h"
#include "text/Text.h"

namespace vedozer {
namespace {

constexpr char kTempPrefix[] = ".vedozer-tmp-";

bool isRestorePointName(const std::string& name) {
    // RestorePoint-yyyy-mm-dd-nnn
    static const std::string prefix = "RESTOREPOINT-";
    if (name.size() != prefix.size() + 14 || !text::istartsWith(name, prefix)) return false;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        size_t k = i - prefix.size();
        bool dash = k == 4 || k == 7 || k == 10;
        if (dash ? name[i] != '-' : (name[i] < '0' || name[i] > '9')) return false;
    }
    return true;
}

}  // namespace

Quarantine::Quarantine(FileSystem& dataFiles, std::string dataFolder, Clock& clock)
    : m_data(dataFiles), m_dataFolder(withoutTrailingSeparators(dataFolder)), m_clock(clock) {}

bool Quarantine::isReservedName(const std::string& name) {
    return text::iequals(name, kLogName) || text::iequals(name, kIndexName) || text::istartsWith(name, kTempPrefix) ||
           isRestorePointName(name);
}

std::string Quarantine::numberedName(const std::string& bareName, int n) {
    std::string suffix = " (" + std::to_string(n) + ")";
    auto dot = bareName.find_last_of('.');
    if (dot == std::string::npos || dot == 0) return bareName + suffix;
    return bareName.substr(0, dot) + suffix + bareName.substr(dot);
}

std::string Quarantine::now() { return generalDateTime(m_clock.now()); }

bool Quarantine::prepare() {
    m_data.createFolder(folder());
    if (!m_data.folderExists(folder())) return false;
    for (const auto& e : m_data.list(folder())) {
        if (!text::istartsWith(e.name, kTempPrefix)) continue;
        std::string p = storedPath(e.name);
        if (e.isDirectory()) m_data.deleteFolder(p);
        else m_data.deleteFile(p);
    }
    return true;
}

void Quarantine::load() {
    if (m_loaded) return;
    auto text = m_data.readAll(indexPath());
    m_indexEndsClean = !text || text->empty() || text->back() == '\n';
    if (text) {
        for (const auto& e : quarantine_index::parse(*text)) {
            if (e.id >= m_nextId) m_nextId = e.id + 1;
            if (!e.withdrawn) m_taken.insert(text::toUpper(e.storedName));
        }
    }
    m_loaded = true;
}

std::string Quarantine::uniqueName(const std::string& bareName) {
    load();
    std::string base = quarantine_index::isPlainName(bareName) ? bareName : std::string("item");
    for (int n = 1;; ++n) {
        std::string candidate = n == 1 ? base : numberedName(base, n);
        if (isReservedName(candidate) || m_taken.count(text::toUpper(candidate))) continue;
        if (m_data.lookup(storedPath(candidate))) continue;
        return candidate;
    }
}

bool Quarantine::appendIndex(const std::string& record) {
    load();
    // A record cut short by a crash must not swallow the next one.
    std::string data = m_indexEndsClean ? record : "\r\n" + record;
    if (!m_data.append(indexPath(), data)) {
        m_indexEndsClean = false;  // unknown: start the next record on a line of its own
        return false;
    }
    m_indexEndsClean = true;
    return true;
}

bool Quarantine::recordEntry(const QuarantineEntry& e) {
    std::string record = quarantine_index::formatEntry(e);
    if (!m_target.empty()) record += quarantine_index::formatTarget(e.id, m_target);
    return appendIndex(record);
}

QuarantineEntry Quarantine::newEntry(QuarantineKind kind, const std::string& location,
                                     const std::string& spywareName) {
    load();
    QuarantineEntry e;
    e.id = m_nextId;
    e.kind = kind;
    e.time = isoDateTime(m_clock.now());
    e.location = location;
    e.spywareName = spywareName;
    e.target = m_target;
    return e;
}

std::optional<QuarantineEntry> Quarantine::storeFile(FileSystem& source, const std::string& path,
                                                     const std::string& spywareName) {
    if (!prepare()) return std::nullopt;
    QuarantineEntry e = newEntry(QuarantineKind::File, path, spywareName);
    e.storedName = uniqueName(lastComponent(path));
    std::string target = storedPath(e.storedName);
    if (!copyFileAcross(source, path, m_data, target, true)) return std::nullopt;
    if (!recordEntry(e)) {
        m_data.deleteFile(target);
        return std::nullopt;
    }
    ++m_nextId;
    m_taken.insert(text::toUpper(e.storedName));
    return e;
}

std::optional<QuarantineEntry> Quarantine::storeFolder(FileSystem& source, const std::string& path,
                                                       const std::string& spywareName) {
    if (!prepare()) return std::nullopt;
    std::string cleanPath = withoutTrailingSeparators(path);
    QuarantineEntry e = newEntry(QuarantineKind::Folder, cleanPath, spywareName);
    e.storedName = uniqueName(lastComponent(cleanPath));
    // Built under a temporary name and renamed once whole, so a crash never leaves half a folder
    // under a real name.
    std::string temp = storedPath(std::string(kTempPrefix) + "folder-" + std::to_string(e.id));
    m_data.deleteFolder(temp);
    if (!copyFolderAcross(source, cleanPath, m_data, temp, false) ||
        !m_data.renameFile(temp, storedPath(e.storedName))) {
        m_data.deleteFolder(temp);
        return std::nullopt;
    }
    if (!recordEntry(e)) {
        m_data.deleteFolder(storedPath(e.storedName));
        return std::nullopt;
    }
    ++m_nextId;
    m_taken.insert(text::toUpper(e.storedName));
    return e;
}

std::optional<QuarantineEntry> Quarantine::storeRegistry(const RegistryBackup& backup,
                                                         const std::string& spywareName) {
    if (!prepare()) return std::nullopt;
    std::string location = std::string(rootKeyName(backup.root)) + "\\" + backup.keyPath;
    QuarantineEntry e = newEntry(backup.wholeKey ? QuarantineKind::RegistryKey : QuarantineKind::RegistryValue,
                                 location, spywareName);
    if (!backup.wholeKey && !backup.values.empty()) e.valueName = backup.values[0].name;
    e.storedName = uniqueName("Registry " + std::to_string(e.id) + ".txt");
    std::string target = storedPath(e.storedName);
    auto out = m_data.openWrite(target, true);
    if (!out || !out->write(formatRegistryBackup(backup)) || !out->close()) return std::nullopt;
    if (!recordEntry(e)) {
        m_data.deleteFile(target);
        return std::nullopt;
    }
    ++m_nextId;
    m_taken.insert(text::toUpper(e.storedName));
    return e;
}

void Quarantine::withdraw(const QuarantineEntry& entry) {
    // The mark goes first: a crash after it leaves a spare copy, never an entry without one.
    if (!appendIndex(quarantine_index::formatWithdrawn(entry.id, isoDateTime(m_clock.now())))) return;
    std::string p = storedPath(entry.storedName);
    if (entry.kind == QuarantineKind::Folder) m_data.deleteFolder(p);
    else m_data.deleteFile(p);
    m_taken.erase(text::toUpper(entry.storedName));
}

bool Quarantine::markRestored(uint64_t id) {
    return appendIndex(quarantine_index::formatRestored(id, isoDateTime(m_clock.now())));
}

void Quarantine::logFile(const std::string& bareName, const std::string& path) {
    m_data.createFolder(folder());
    m_data.append(logPath(), formatFileRecord(now(), bareName, path));
}

void Quarantine::logRegistryEntry(const std::string& keyText, const std::string& valueText) {
    m_data.createFolder(folder());
    m_data.append(logPath(), formatRegistryRecord(now(), keyText, valueText));
}

std::vector<QuarantineEntry> Quarantine::entries() {
    auto text = m_data.readAll(indexPath());
    return text ? quarantine_index::parse(*text) : std::vector<QuarantineEntry>{};
}

std::optional<QuarantineEntry> Quarantine::entry(uint64_t id) {
    for (auto& e : entries())
        if (e.id == id) return e;
    return std::nullopt;
}

}  // namespace vedozer
