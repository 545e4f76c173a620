#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/image/PosixFiles.h"

namespace vedozer {

// The names of one folder, found without regard to case (the program's rule, text::foldUtf8) in a
// single flat table: a look-up hashes the name once and reads contiguous memory, which matters when a
// scan asks a hundred thousand names, most of them absent.
class FoldedNames {
public:
    static constexpr size_t npos = SIZE_MAX;

    void assign(std::vector<posix::DirEntryName> entries);
    // Adds a name unless one spelt exactly so is there.
    void add(const std::string& name);
    // Takes out the name spelt exactly so (its entry stays, marked gone, until the next assign).
    void remove(std::string_view name);
    void clear();
    // The entry spelt exactly so, else the first listed entry of the same upper-case form.
    size_t find(std::string_view name) const;
    const std::vector<posix::DirEntryName>& entries() const { return m_entries; }

private:
    struct Key;
    bool matches(size_t entry, const Key& key) const;
    void keep(size_t entry);
    void index(size_t entry);
    void rehash(size_t slots);

    std::vector<posix::DirEntryName> m_entries;
    std::vector<uint64_t> m_hashes;     // per entry, of its key
    std::vector<std::string> m_folded;  // per entry: its key when the name is not all ASCII
    std::vector<uint32_t> m_next;       // per entry: next entry of the same upper-case form, or UINT32_MAX
    std::vector<uint32_t> m_slots;      // entry + 1 of the first of each upper-case form; 0 = free
    std::vector<bool> m_gone;           // per entry: removed
};

}  // namespace vedozer
