#include "platform/image/FoldedIndex.h"

namespace vedozer {

uint64_t FoldedIndex::hash(std::string_view name) {
    uint64_t h = 1469598103934665603ull;
    for (char c : name) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return h;
}

void FoldedIndex::reserve(size_t count) {
    size_t slots = 16;
    while (slots < 2 * count) slots *= 2;
    if (slots <= m_slots.size()) return;
    m_slots.assign(slots, 0);
    for (size_t i = 0; i < m_names.size(); ++i) place(i);
    m_names.reserve(count), m_hashes.reserve(count), m_values.reserve(count);
}

void FoldedIndex::place(size_t entry) {
    const size_t mask = m_slots.size() - 1;
    size_t p = m_hashes[entry] & mask;
    while (m_slots[p] != 0) p = (p + 1) & mask;
    m_slots[p] = static_cast<uint32_t>(entry + 1);
}

void FoldedIndex::add(std::string foldedName, uint64_t value) {
    if (find(foldedName)) return;
    if (m_slots.size() < 2 * (m_names.size() + 1)) reserve(2 * (m_names.size() + 1));
    m_hashes.push_back(hash(foldedName));
    m_names.push_back(std::move(foldedName));
    m_values.push_back(value);
    place(m_names.size() - 1);
}

std::optional<uint64_t> FoldedIndex::find(std::string_view foldedName) const {
    if (m_slots.empty()) return std::nullopt;
    const uint64_t h = hash(foldedName);
    const size_t mask = m_slots.size() - 1;
    for (size_t p = h & mask; m_slots[p] != 0; p = (p + 1) & mask) {
        const size_t e = m_slots[p] - 1;
        if (m_hashes[e] == h && m_names[e] == foldedName) return m_values[e];
    }
    return std::nullopt;
}

}  // namespace vedozer
