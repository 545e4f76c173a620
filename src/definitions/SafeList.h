#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "definitions/PathTokens.h"
#include "platform/FileSystem.h"

namespace vedozer {

// The shipped safe list (Safety.dat) in memory: the entries the lines produce, in file order,
// followed by one empty element. IsSafe compares an item with every element apart from letter
// case, surrounding blanks and one trailing "/" and "\"; the normalized elements are kept in a
// hash set, so a test costs a few lookups however long the list is.
class SafeList {
public:
    SafeList() = default;
    // From the entries produced: joined with CR LF after each and split again at CR LF
    // (an entry holding CR LF becomes two elements; no entries give an empty list).
    explicit SafeList(const std::vector<std::string>& entries);

    bool IsSafe(std::string_view item) const;

    const std::vector<std::string>& elements() const { return m_elements; }

private:
    std::vector<std::string> m_elements;
    std::unordered_set<std::string> m_index;  // normalized non-empty elements
};

// Lower case, blanks trimmed, one trailing "/" then one trailing "\" removed.
std::string normalizeSafeItem(std::string_view item);

// Rebuilds the list from dataFolder\Safety.dat (decoding each line); an empty list when the file is
// missing. Reading stops when stopRequested() turns true; the entries read so far are kept.
// Always returns true.
bool LoadSafeList(SafeList& list, FileSystem& fs, const std::string& dataFolder,
                  const LocationExpander& expander, const std::function<bool()>& stopRequested = {});

}  // namespace vedozer
