#include "platform/image/FoldedNames.h"

#include <array>

#include "text/Text.h"

namespace vedozer {
namespace {

// text::upperChar for every byte, asked once: it is called for every byte of every name looked up.
const std::array<unsigned char, 256>& upperTable() {
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int c = 0; c < 256; ++c) t[c] = static_cast<unsigned char>(text::upperChar(static_cast<char>(c)));
        return t;
    }();
    return table;
}

bool sameFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const auto& upper = upperTable();
    for (size_t i = 0; i < a.size(); ++i)
        if (upper[static_cast<unsigned char>(a[i])] != upper[static_cast<unsigned char>(b[i])]) return false;
    return true;
}

}  // namespace

uint64_t FoldedNames::foldedHash(std::string_view name) {
    const auto& upper = upperTable();
    uint64_t h = 1469598103934665603ull;
    for (char c : name) h = (h ^ upper[static_cast<unsigned char>(c)]) * 1099511628211ull;
    return h;
}

void FoldedNames::clear() {
    m_entries.clear();
    m_hashes.clear();
    m_next.clear();
    m_slots.clear();
    m_gone.clear();
}

void FoldedNames::assign(std::vector<posix::DirEntryName> entries) {
    clear();
    m_entries = std::move(entries);
    m_hashes.reserve(m_entries.size());
    for (const auto& e : m_entries) m_hashes.push_back(foldedHash(e.name));
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
    for (size_t p = m_hashes[entry] & mask;; p = (p + 1) & mask) {
        if (m_slots[p] == 0) {
            m_slots[p] = static_cast<uint32_t>(entry + 1);
            return;
        }
        size_t first = m_slots[p] - 1;
        if (m_hashes[first] == m_hashes[entry] && sameFolded(m_entries[first].name, m_entries[entry].name)) {
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
    m_hashes.push_back(foldedHash(name));
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
    const uint64_t h = foldedHash(name);
    const size_t mask = m_slots.size() - 1;
    for (size_t p = h & mask; m_slots[p] != 0; p = (p + 1) & mask) {
        const size_t first = m_slots[p] - 1;
        if (m_hashes[first] != h || !sameFolded(m_entries[first].name, name)) continue;
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
