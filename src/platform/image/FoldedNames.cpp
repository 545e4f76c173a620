#include "platform/image/FoldedNames.h"

#include "text/Text.h"

namespace vedozer {
namespace {

bool isAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 0x20) : c; }

bool sameAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (asciiUpper(a[i]) != asciiUpper(b[i])) return false;
    return true;
}

// FNV-1a over the name's key: the upper case of an ASCII name, text::foldUtf8 of any other.
uint64_t hashOf(std::string_view key, bool foldAscii) {
    uint64_t h = 1469598103934665603ull;
    for (char c : key) h = (h ^ static_cast<unsigned char>(foldAscii ? asciiUpper(c) : c)) * 1099511628211ull;
    return h;
}

}  // namespace

// A name's comparison key. An ASCII name (most of them) is compared letter by letter without a copy;
// the key of any other name holds a character outside ASCII, so the two kinds never match each other.
struct FoldedNames::Key {
    std::string_view name;
    std::string folded;  // for a name outside ASCII
    bool ascii = true;
    uint64_t hash = 0;

    explicit Key(std::string_view n) : name(n), ascii(isAscii(n)) {
        if (!ascii) folded = text::foldUtf8(n);
        hash = ascii ? hashOf(n, true) : hashOf(folded, false);
    }
};

bool FoldedNames::matches(size_t entry, const Key& key) const {
    if (m_hashes[entry] != key.hash || m_folded[entry].empty() != key.ascii) return false;
    return key.ascii ? sameAscii(m_entries[entry].name, key.name) : m_folded[entry] == key.folded;
}

void FoldedNames::clear() {
    m_entries.clear();
    m_hashes.clear();
    m_folded.clear();
    m_next.clear();
    m_slots.clear();
    m_gone.clear();
}

void FoldedNames::keep(size_t entry) {
    const Key key(m_entries[entry].name);
    m_hashes[entry] = key.hash;
    m_folded[entry] = key.folded;
}

void FoldedNames::assign(std::vector<posix::DirEntryName> entries) {
    clear();
    m_entries = std::move(entries);
    m_hashes.resize(m_entries.size());
    m_folded.resize(m_entries.size());
    for (size_t i = 0; i < m_entries.size(); ++i) keep(i);
    m_next.assign(m_entries.size(), UINT32_MAX);
    m_gone.assign(m_entries.size(), false);
    size_t slots = 16;
    while (slots < 2 * m_entries.size()) slots *= 2;
    rehash(slots);
}

void FoldedNames::rehash(size_t slots) {
    m_slots.assign(slots, 0);
    std::fill(m_next.begin(), m_next.end(), UINT32_MAX);
    for (size_t i = 0; i < m_entries.size(); ++i) index(i);
}

void FoldedNames::index(size_t entry) {
    const size_t mask = m_slots.size() - 1;
    const Key key(m_entries[entry].name);
    for (size_t p = m_hashes[entry] & mask;; p = (p + 1) & mask) {
        if (m_slots[p] == 0) {
            m_slots[p] = static_cast<uint32_t>(entry + 1);
            return;
        }
        size_t first = m_slots[p] - 1;
        if (matches(first, key)) {
            while (m_next[first] != UINT32_MAX) first = m_next[first];
            m_next[first] = static_cast<uint32_t>(entry);
            return;
        }
    }
}

void FoldedNames::add(const std::string& name) {
    const size_t found = find(name);
    if (found != npos && m_entries[found].name == name) return;
    m_entries.push_back({name, 0});
    m_hashes.push_back(0);
    m_folded.emplace_back();
    keep(m_entries.size() - 1);
    m_next.push_back(UINT32_MAX);
    m_gone.push_back(false);
    if (m_slots.size() < 2 * m_entries.size()) {
        size_t slots = m_slots.empty() ? 16 : m_slots.size();
        while (slots < 2 * m_entries.size()) slots *= 2;
        rehash(slots);
    } else {
        index(m_entries.size() - 1);
    }
}

size_t FoldedNames::find(std::string_view name) const {
    if (m_slots.empty()) return npos;
    const Key key(name);
    const size_t mask = m_slots.size() - 1;
    for (size_t p = key.hash & mask; m_slots[p] != 0; p = (p + 1) & mask) {
        const size_t first = m_slots[p] - 1;
        if (!matches(first, key)) continue;
        size_t any = npos;
        for (size_t i = first; i != UINT32_MAX; i = m_next[i]) {
            if (m_gone[i]) continue;
            if (m_entries[i].name == name) return i;
            if (any == npos) any = i;
        }
        return any;
    }
    return npos;
}

void FoldedNames::remove(std::string_view name) {
    const size_t found = find(name);
    if (found != npos && m_entries[found].name == name) m_gone[found] = true;
}

}  // namespace vedozer
