#include "scan/ScanResults.h"

#include <algorithm>
#include <charconv>

#include "text/Text.h"

namespace vedozer {

namespace {
constexpr RootKey kRoots[] = {RootKey::ClassesRoot,   RootKey::CurrentUser, RootKey::LocalMachine,
                              RootKey::Users,         RootKey::CurrentConfig, RootKey::DynData};

template <class Row>
void eraseChecked(std::vector<Row>& rows) {
    rows.erase(std::remove_if(rows.begin(), rows.end(), [](const Row& r) { return r.checked; }), rows.end());
}
}  // namespace

int32_t rootKeyHandle(RootKey root) {
    switch (root) {
        case RootKey::ClassesRoot: return INT32_MIN;
        case RootKey::CurrentUser: return INT32_MIN + 1;
        case RootKey::LocalMachine: return INT32_MIN + 2;
        case RootKey::Users: return INT32_MIN + 3;
        case RootKey::CurrentConfig: return INT32_MIN + 5;
        case RootKey::DynData: return INT32_MIN + 6;
    }
    return 0;
}

std::string rootKeyHandleText(RootKey root) { return std::to_string(rootKeyHandle(root)); }

std::optional<RootKey> rootKeyFromHandleText(std::string_view text) {
    int32_t v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    for (RootKey r : kRoots)
        if (rootKeyHandle(r) == v) return r;
    return std::nullopt;
}

void ScanResults::clear() {
    m_removal.clear();
    m_found.clear();
    m_foundIndex.clear();
    m_files.clear();
    m_registry.clear();
    m_cookies.clear();
    m_programs.clear();
    m_traces = 0;
    m_skipped.clear();
    m_skippedCount = 0;
    m_unchecked.clear();
    touch();
}

void ScanResults::tell(DetectionKind kind, const std::string& name, const std::string& location, bool excluded) {
    if (m_listener) m_listener(ItemFound{kind, name, location, excluded});
}

bool ScanResults::noteUnchecked(std::string location) {
    for (const auto& known : m_unchecked)
        if (known == location) return false;
    m_unchecked.push_back(std::move(location));
    return true;
}

void ScanResults::noteSkipped(std::string note) {
    ++m_skippedCount;
    if (m_skipped.size() < kMaxSkippedNotes) m_skipped.push_back(std::move(note));
}

bool ScanResults::foundListHasPrefix(std::string_view prefix) const {
    // The smallest text not below the prefix is the first that could start with it.
    std::string key = text::toUpper(prefix);
    auto it = m_foundIndex.lower_bound(key);
    return it != m_foundIndex.end() && it->compare(0, key.size(), key) == 0;
}

bool ScanResults::isAlreadyFound(std::string_view spywareName) const {
    return foundListHasPrefix(std::string(spywareName) + " - Found");
}

void ScanResults::addFoundRow(std::string text, int icon) {
    m_foundIndex.insert(text::toUpper(text));
    m_found.push_back(FoundRow{std::move(text), icon, false});
    touch();
}

void ScanResults::addExcluded(DetectionKind kind, std::string_view item) {
    addFoundRow("EXCLUDED: " + std::string(item), kIconExcluded);
    tell(kind, "", std::string(item), true);
}

void ScanResults::addThreat(ThreatRecord record) {
    m_removal.push_back(std::move(record));
    touch();
}

void ScanResults::addFileDetection(std::string path, std::string spywareName, bool folder) {
    m_files.push_back(FileWorkRow{std::move(path), std::move(spywareName), false, folder});
    ++m_traces;
    touch();
    tell(folder ? DetectionKind::Folder : DetectionKind::File, m_files.back().spywareName, m_files.back().path, false);
}

void ScanResults::addRegistryDetection(RegistryWorkRow row) {
    m_registry.push_back(std::move(row));
    ++m_traces;
    touch();
    const RegistryWorkRow& r = m_registry.back();
    auto root = rootKeyFromHandleText(r.mainKey);
    std::string location = std::string(root ? rootKeyName(*root) : r.mainKey.c_str()) + "\\" + r.keyPath;
    if (!r.valueName.empty()) location += " [" + r.valueName + "]";
    tell(r.valueName.empty() ? DetectionKind::RegistryKey : DetectionKind::RegistryValue, r.spywareName, location,
         false);
}

void ScanResults::addCookieDetection(std::string path, const std::string& cookieName) {
    m_cookies.push_back(CookieWorkRow{std::move(path), false});
    touch();
    tell(DetectionKind::Cookie, cookieName, m_cookies.back().path, false);
}

bool ScanResults::listThreat(const std::string& spywareName, const std::string& location, const std::string& type,
                             int icon, ScanCounters& counters) {
    if (isAlreadyFound(spywareName)) return false;
    addFoundRow(spywareName + " - Found", icon);
    addThreat(ThreatRecord{spywareName, location, type, icon, false});
    ++counters.softwareFound;
    return true;
}

void ScanResults::setChecked(size_t row, bool checked) {
    if (row < m_removal.size()) m_removal[row].checked = checked;
    touch();
}

void ScanResults::checkAll(bool checked) {
    for (auto& r : m_removal) r.checked = checked;
    touch();
}

size_t ScanResults::checkedCount() const {
    return static_cast<size_t>(std::count_if(m_removal.begin(), m_removal.end(),
                                             [](const ThreatRecord& r) { return r.checked; }));
}

void ScanResults::setFoundChecked(size_t row, bool checked) {
    if (row < m_found.size()) m_found[row].checked = checked;
    touch();
}

void ScanResults::eraseCheckedRows() {
    eraseChecked(m_files);
    eraseChecked(m_registry);
    eraseChecked(m_cookies);
    eraseChecked(m_found);
    eraseChecked(m_removal);
    m_foundIndex.clear();
    for (const auto& f : m_found) m_foundIndex.insert(text::toUpper(f.text));
    touch();
}

}  // namespace vedozer
