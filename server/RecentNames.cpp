#include "RecentNames.h"

#include <algorithm>
#include <bit>

namespace vedozer::server {

namespace {

// At most half of a table is used, so probe runs stay short.
size_t slotsFor(size_t names) { return std::bit_ceil(std::max<size_t>(names, 8) * 2); }

}  // namespace

RecentNames::RecentNames(size_t perGeneration) : m_perGeneration(std::max<size_t>(perGeneration, 1)) {
    m_newer.slots.assign(slotsFor(m_perGeneration), 0);
    m_older.slots.assign(slotsFor(m_perGeneration), 0);
}

uint64_t RecentNames::fingerprint(std::string_view name) {
    uint64_t h = 14695981039346656037ull;  // FNV-1a, then a final mix so the low bits spread
    for (unsigned char c : name) {
        h ^= c;
        h *= 1099511628211ull;
    }
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    return h == 0 ? 1 : h;
}

bool RecentNames::Table::contains(uint64_t fp) const {
    const size_t mask = slots.size() - 1;
    for (size_t i = fp & mask;; i = (i + 1) & mask) {
        if (slots[i] == fp) return true;
        if (slots[i] == 0) return false;
    }
}

void RecentNames::Table::insert(uint64_t fp) {
    const size_t mask = slots.size() - 1;
    for (size_t i = fp & mask;; i = (i + 1) & mask) {
        if (slots[i] == fp) return;
        if (slots[i] == 0) {
            slots[i] = fp;
            ++count;
            return;
        }
    }
}

void RecentNames::Table::clear() {
    std::fill(slots.begin(), slots.end(), 0);
    count = 0;
}

bool RecentNames::contains(std::string_view name) const {
    uint64_t fp = fingerprint(name);
    return m_newer.contains(fp) || m_older.contains(fp);
}

void RecentNames::insert(std::string_view name) {
    uint64_t fp = fingerprint(name);
    if (m_newer.contains(fp)) return;
    if (m_newer.count == m_perGeneration) {
        std::swap(m_newer, m_older);
        m_newer.clear();
    }
    m_newer.insert(fp);
}

size_t RecentNames::memoryBytes() const {
    return (m_newer.slots.size() + m_older.slots.size()) * sizeof(uint64_t);
}

}  // namespace vedozer::server
