#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vedozer {

// Answers "does this text contain that string" in time growing with the string's length and the
// logarithm of the text's, not with the text's length: a suffix array of the text, built in
// O(n log n) by prefix doubling with counting sorts.
class SubstringIndex {
public:
    SubstringIndex() = default;
    explicit SubstringIndex(std::string text);

    bool contains(std::string_view needle) const;
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
    std::vector<uint32_t> m_suffixes;  // start of every suffix, in sorted order
};

}  // namespace vedozer
