#include "scan/FileCompanyName.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "scan/PeVersionResource.h"
#include "text/Text.h"

namespace vedozer {
namespace {

// Key text as it appears inside a UTF-16 resource: a zero before each character.
std::string wideKey(std::string_view key) {
    std::string r;
    for (char c : key) {
        r.push_back('\0');
        r.push_back(c);
    }
    return r;
}

class Pattern {
public:
    explicit Pattern(std::string text)
        : m_text(std::move(text)), m_searcher(m_text.begin(), m_text.end()) {}
    Pattern(const Pattern&) = delete;
    Pattern& operator=(const Pattern&) = delete;

    // Offset of the first match starting at or after `from` that lies wholly in data.
    std::optional<size_t> find(std::string_view data, size_t from) const {
        if (from >= data.size()) return std::nullopt;
        auto it = std::search(data.begin() + from, data.end(), m_searcher);
        if (it == data.end()) return std::nullopt;
        return static_cast<size_t>(it - data.begin());
    }
    const std::string& text() const { return m_text; }
    size_t size() const { return m_text.size(); }

private:
    std::string m_text;
    std::boyer_moore_horspool_searcher<std::string::const_iterator> m_searcher;
};

struct Keys {
    Pattern wideInfo{wideKey("StringFileInfo")};
    Pattern plainInfo{"StringFileInfo"};
    Pattern wideCompany{wideKey("CompanyName")};
    Pattern plainCompany{"CompanyName"};
    std::string wideGuard = wideKey("FileDescription");
    std::string plainGuard = "FileDescription";
    size_t longest() const { return std::max({wideInfo.size(), plainInfo.size(), wideCompany.size(),
                                              plainCompany.size()}); }
};

const Keys& keys() {
    static const Keys k;
    return k;
}

// Streaming substring matcher (Knuth-Morris-Pratt) for the guard key.
class Matcher {
public:
    explicit Matcher(const std::string& pattern) : m_pattern(pattern), m_fail(pattern.size(), 0) {
        for (size_t i = 1, k = 0; i < pattern.size(); ++i) {
            while (k > 0 && pattern[i] != pattern[k]) k = m_fail[k - 1];
            if (pattern[i] == pattern[k]) ++k;
            m_fail[i] = k;
        }
    }
    bool step(char c) {
        while (m_state > 0 && m_pattern[m_state] != c) m_state = m_fail[m_state - 1];
        if (m_pattern[m_state] == c) ++m_state;
        if (m_state == m_pattern.size()) {
            m_state = m_fail[m_state - 1];
            return true;
        }
        return false;
    }

private:
    const std::string& m_pattern;
    std::vector<size_t> m_fail;
    size_t m_state = 0;
};

constexpr size_t kGuardWindow = 256;  // the value's first character and the 255 after it

// Follows the value that starts at a candidate hit: runs to the first three zero
// bytes, remembers whether the guard key occurs before them, and keeps what the
// answer needs (the value without zeros, and its first bytes for the guard case).
class ValueReader {
public:
    ValueReader(uint64_t hit, bool wide)
        : m_hit(hit), m_wide(wide), m_next(hit + (wide ? 26 : 12)),
          m_guard(wide ? keys().wideGuard : keys().plainGuard) {}

    uint64_t hit() const { return m_hit; }
    bool wide() const { return m_wide; }
    bool finished() const { return m_finished; }

    // Bytes of the window that starts at absolute offset base.
    void feed(const char* data, uint64_t base, size_t n) {
        if (m_finished || m_next >= base + n) return;
        for (size_t i = static_cast<size_t>(std::max(m_next, base) - base); i < n; ++i) {
            char c = data[i];
            if (m_head.size() < kGuardWindow) m_head.push_back(c);
            if (!m_guardSeen && m_guard.step(c)) m_guardSeen = true;
            if (c == '\0') {
                if (++m_zeroRun == 3) {
                    m_finished = true;
                    return;
                }
            } else {
                m_zeroRun = 0;
                if (m_value.size() < kMaxCompanyNameLength) m_value.push_back(c);
            }
        }
        m_next = base + n;
    }

    std::string result() const {
        if (!m_finished) return "";
        if (m_guardSeen) {
            // The value ran into the next entry: it ends at the first control character.
            for (size_t k = 1; k < m_head.size(); ++k) {
                if (static_cast<unsigned char>(m_head[k]) < 32) {
                    std::string v;
                    for (size_t j = 0; j < k; ++j)
                        if (m_head[j] != '\0') v.push_back(m_head[j]);
                    return v;
                }
            }
        }
        return m_value;
    }

private:
    uint64_t m_hit;
    bool m_wide;
    uint64_t m_next;
    Matcher m_guard;
    bool m_guardSeen = false;
    bool m_finished = false;
    int m_zeroRun = 0;
    std::string m_head;
    std::string m_value;
};

// The search can only settle which hit counts at the end of the file (a UTF-16
// StringFileInfo may come last), so every hit that may still count is followed.
class CompanySearch {
public:
    void window(std::string_view w, uint64_t base) {
        const Keys& k = keys();
        auto findFrom = [&](const Pattern& p, uint64_t from) -> std::optional<uint64_t> {
            size_t rel = from > base ? static_cast<size_t>(from - base) : 0;
            auto r = p.find(w, rel);
            if (!r) return std::nullopt;
            return base + *r;
        };
        if (!m_wideInfo) {
            m_wideInfo = findFrom(k.wideInfo, 0);
            if (m_wideInfo) dropFallback();
        }
        if (m_wideInfo) {
            if (!m_afterWide) m_afterWide = track(findFrom(k.wideCompany, *m_wideInfo), true);
        } else {
            if (!m_plainInfo) m_plainInfo = findFrom(k.plainInfo, 0);
            if (!m_plainAny) m_plainAny = track(findFrom(k.plainCompany, 0), false);
            if (!m_wideAny) m_wideAny = track(findFrom(k.wideCompany, 0), true);
            if (m_plainInfo) {
                if (!m_plainAfterInfo) m_plainAfterInfo = track(findFrom(k.plainCompany, *m_plainInfo), false);
                if (!m_wideAfterInfo) m_wideAfterInfo = track(findFrom(k.wideCompany, *m_plainInfo), true);
            }
        }
        for (auto& r : m_readers) r->feed(w.data(), base, w.size());
    }

    // True when more bytes cannot change the answer.
    bool settled() const { return m_wideInfo && m_afterWide && m_afterWide->finished(); }

    std::string answer() const {
        if (m_wideInfo) return m_afterWide ? m_afterWide->result() : "";
        const ValueReader* plain = m_plainInfo ? m_plainAfterInfo : m_plainAny;
        const ValueReader* wide = m_plainInfo ? m_wideAfterInfo : m_wideAny;
        if (plain) return plain->result();
        if (wide) return wide->result();
        return "";
    }

private:
    ValueReader* track(std::optional<uint64_t> hit, bool wide) {
        if (!hit) return nullptr;
        for (auto& r : m_readers)
            if (r->hit() == *hit && r->wide() == wide) return r.get();
        m_readers.push_back(std::make_unique<ValueReader>(*hit, wide));
        return m_readers.back().get();
    }

    // Once a UTF-16 StringFileInfo is seen only the hits after it count. Every hit
    // followed so far lies before it (a hit lies wholly inside an earlier window
    // while the StringFileInfo did not), so all of them can go.
    void dropFallback() {
        m_plainAny = m_wideAny = m_plainAfterInfo = m_wideAfterInfo = nullptr;
        m_readers.clear();
    }

    std::optional<uint64_t> m_wideInfo, m_plainInfo;
    ValueReader* m_afterWide = nullptr;
    ValueReader* m_plainAny = nullptr;
    ValueReader* m_wideAny = nullptr;
    ValueReader* m_plainAfterInfo = nullptr;
    ValueReader* m_wideAfterInfo = nullptr;
    std::vector<std::unique_ptr<ValueReader>> m_readers;
};

// Searches the stream front to back, at most `limit` bytes, in chunks that overlap by a key's
// length; stops as soon as more bytes cannot change the answer.
std::string searchStream(InputStream& in, uint64_t limit) {
    constexpr size_t kChunk = 64 * 1024;
    const size_t overlap = keys().longest() - 1;
    std::vector<char> buf(kChunk + overlap);
    size_t have = 0;
    uint64_t base = 0, total = 0;
    CompanySearch search;
    while (total < limit) {
        long long got = in.read(buf.data() + have, static_cast<size_t>(std::min<uint64_t>(kChunk, limit - total)));
        if (got < 0) return "";
        if (got == 0) break;
        total += static_cast<uint64_t>(got);
        size_t n = have + static_cast<size_t>(got);
        search.window(std::string_view(buf.data(), n), base);
        if (search.settled()) break;
        size_t keep = std::min(n, overlap);
        std::memmove(buf.data(), buf.data() + n - keep, keep);
        base += n - keep;
        have = keep;
    }
    return search.answer();
}

}  // namespace

std::string companyNameInBytes(std::string_view bytes) {
    CompanySearch search;
    search.window(bytes, 0);
    return search.answer();
}

std::string GetFileCompanyName(InputStream& in) {
    if (in.seek(0)) {
        ReadAt readAt = [&in](uint64_t offset, size_t n, std::string& out) {
            if (!in.seek(offset)) return false;
            out.resize(n);
            size_t got = 0;
            while (got < n) {
                long long r = in.read(out.data() + got, n - got);
                if (r < 0) return false;
                if (r == 0) break;
                got += static_cast<size_t>(r);
            }
            out.resize(got);
            return true;
        };
        PeVersionResource version = readPeVersionResource(readAt);
        switch (version.lookup) {
        case PeVersionLookup::Found:
            return companyNameInBytes(version.bytes);
        case PeVersionLookup::NoVersion:
        case PeVersionLookup::ReadError:
            return "";
        case PeVersionLookup::NotPe:
            if (!in.seek(0)) return "";
            break;
        }
    }
    return searchStream(in, kMaxPlainSearchBytes);
}

std::string GetFileCompanyName(FileSystem& files, const std::string& path) {
    auto in = files.openRead(path);
    if (!in) return "";
    return GetFileCompanyName(*in);
}

bool isMicrosoftCompany(const std::string& company) {
    return text::toUpper(text::trim(company)) == "MICROSOFT CORPORATION";
}

}  // namespace vedozer
