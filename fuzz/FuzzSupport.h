#pragma once
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace vedozer::fuzz {

inline std::string_view text(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The input split at LF (CR kept), for targets that take lines.
inline std::vector<std::string_view> lines(std::string_view s) {
    std::vector<std::string_view> out;
    size_t start = 0;
    while (start <= s.size()) {
        size_t end = s.find('\n', start);
        out.push_back(s.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return out;
}

// A seekable stream over the input that hands out at most `step` bytes per read.
class BytesStream : public InputStream {
public:
    explicit BytesStream(std::string_view data, size_t step = 4096) : m_data(data), m_step(step ? step : 1) {}
    long long read(char* buffer, size_t n) override {
        size_t k = std::min({n, m_step, m_data.size() - std::min(m_pos, m_data.size())});
        if (k == 0) return 0;
        std::memcpy(buffer, m_data.data() + m_pos, k);
        m_pos += k;
        return static_cast<long long>(k);
    }
    bool seek(uint64_t offset) override {
        m_pos = static_cast<size_t>(std::min<uint64_t>(offset, m_data.size()));
        return true;
    }

private:
    std::string_view m_data;
    size_t m_step;
    size_t m_pos = 0;
};

// A finding: stops the fuzzer with the reason (the input is saved by libFuzzer).
[[noreturn]] inline void fail(const char* why) {
    std::fprintf(stderr, "fuzz check failed: %s\n", why);
    std::abort();
}

}  // namespace vedozer::fuzz
