#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vedozer {

// Folded name -> number, in one flat open-addressing table: a look-up hashes the name once and reads
// contiguous memory. For the sub keys of a hive key, which can be tens of thousands, asked for by a
// scan once per definition. The first number added under a name stays.
class FoldedIndex {
public:
    void reserve(size_t count);
    void add(std::string foldedName, uint64_t value);
    std::optional<uint64_t> find(std::string_view foldedName) const;
    size_t size() const { return m_names.size(); }

private:
    static uint64_t hash(std::string_view name);
    void place(size_t entry);

    std::vector<std::string> m_names;
    std::vector<uint64_t> m_hashes, m_values;
    std::vector<uint32_t> m_slots;  // entry + 1, 0 = free
};

}  // namespace vedozer
