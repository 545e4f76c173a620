#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vedozer::server {

// Remembers the names seen last in a fixed amount of memory: 64-bit fingerprints in two
// generations of at most `perGeneration` names each. When the newer generation is full the
// older one is forgotten, so at least the last `perGeneration` distinct names are always known.
class RecentNames {
public:
    explicit RecentNames(size_t perGeneration);

    bool contains(std::string_view name) const;
    void insert(std::string_view name);
    // Bytes held, whatever the number of names seen.
    size_t memoryBytes() const;

private:
    // Open addressing over fingerprints; 0 marks a free slot.
    struct Table {
        std::vector<uint64_t> slots;
        size_t count = 0;
        bool contains(uint64_t fingerprint) const;
        void insert(uint64_t fingerprint);
        void clear();
    };

    static uint64_t fingerprint(std::string_view name);

    size_t m_perGeneration;
    Table m_newer;
    Table m_older;
};

}  // namespace vedozer::server
