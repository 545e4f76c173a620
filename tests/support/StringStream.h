#pragma once
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "platform/FileSystem.h"

namespace vedozer::test {

// An InputStream over a string that hands out at most `step` bytes per read, so
// readers meet every kind of chunk boundary. A step of 0 gives everything at once.
class StringInputStream : public InputStream {
public:
    explicit StringInputStream(std::string data, size_t step = 0) : m_data(std::move(data)), m_step(step) {}
    long long read(char* buffer, size_t n) override {
        if (m_failAt && m_pos >= *m_failAt) return -1;
        size_t k = std::min(n, m_data.size() - m_pos);
        if (m_step) k = std::min(k, m_step);
        std::memcpy(buffer, m_data.data() + m_pos, k);
        m_pos += k;
        return static_cast<long long>(k);
    }
    bool seek(uint64_t offset) override {
        m_pos = static_cast<size_t>(std::min<uint64_t>(offset, m_data.size()));
        return true;
    }
    // Reads fail once this many bytes were delivered.
    void failAt(size_t offset) { m_failAt = offset; }
    size_t position() const { return m_pos; }

private:
    std::string m_data;
    size_t m_step;
    size_t m_pos = 0;
    std::optional<size_t> m_failAt;
};

}  // namespace vedozer::test
