#include "definitions/SubstringIndex.h"

#include <algorithm>

namespace vedozer {
namespace {

// Suffixes sorted by their first k characters, doubling k until every rank differs.
std::vector<uint32_t> sortSuffixes(std::string_view s) {
    const size_t n = s.size();
    std::vector<uint32_t> sa(n), rank(n), next(n), byRank;
    if (n == 0) return sa;
    std::vector<uint32_t> count(std::max<size_t>(256, n) + 1);
    for (size_t i = 0; i < n; ++i) ++count[static_cast<unsigned char>(s[i]) + 1];
    for (size_t c = 1; c < count.size(); ++c) count[c] += count[c - 1];
    for (size_t i = 0; i < n; ++i) sa[count[static_cast<unsigned char>(s[i])]++] = static_cast<uint32_t>(i);
    rank[sa[0]] = 0;
    for (size_t j = 1; j < n; ++j) rank[sa[j]] = rank[sa[j - 1]] + (s[sa[j]] != s[sa[j - 1]]);

    byRank.resize(n);
    for (size_t k = 1; rank[sa[n - 1]] + 1 < n; k <<= 1) {
        // Order by the rank k characters on (none sorts first), then stably by the own rank.
        size_t p = 0;
        for (size_t i = n - std::min(k, n); i < n; ++i) byRank[p++] = static_cast<uint32_t>(i);
        for (size_t j = 0; j < n; ++j)
            if (sa[j] >= k) byRank[p++] = static_cast<uint32_t>(sa[j] - k);
        std::fill(count.begin(), count.end(), 0);
        for (size_t i = 0; i < n; ++i) ++count[rank[i] + 1];
        for (size_t c = 1; c < count.size(); ++c) count[c] += count[c - 1];
        for (size_t j = 0; j < n; ++j) sa[count[rank[byRank[j]]]++] = byRank[j];
        auto second = [&](uint32_t i) { return i + k < n ? static_cast<int64_t>(rank[i + k]) : -1; };
        next[sa[0]] = 0;
        for (size_t j = 1; j < n; ++j) {
            const bool same = rank[sa[j]] == rank[sa[j - 1]] && second(sa[j]) == second(sa[j - 1]);
            next[sa[j]] = next[sa[j - 1]] + (same ? 0 : 1);
        }
        rank.swap(next);
    }
    return sa;
}

}  // namespace

SubstringIndex::SubstringIndex(std::string text)
    : m_text(std::move(text)), m_suffixes(sortSuffixes(m_text)) {}

bool SubstringIndex::contains(std::string_view needle) const {
    if (needle.empty()) return true;
    const std::string_view text(m_text);
    auto first =
        std::lower_bound(m_suffixes.begin(), m_suffixes.end(), needle,
                         [&](uint32_t at, std::string_view n) { return text.substr(at, n.size()) < n; });
    return first != m_suffixes.end() && text.substr(*first, needle.size()) == needle;
}

}  // namespace vedozer
