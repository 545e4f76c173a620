#pragma once
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace vedozer {

struct StreamError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Calls onLine for every line of the stream without copying lines that fit in one block.
// Only CR LF ends a line (a lone CR or LF belongs to the line); a last line without CR LF
// still counts. Lines are kept whole, however long. Throws StreamError on a read error.
template <class OnLine>
void forEachLine(InputStream& in, OnLine&& onLine, size_t blockSize = 1 << 20) {
    std::vector<char> block(blockSize);
    std::string partial;
    bool pendingCr = false;
    long long n;
    while ((n = in.read(block.data(), block.size())) > 0) {
        const char* b = block.data();
        size_t size = static_cast<size_t>(n);
        size_t i = 0;
        if (pendingCr) {
            pendingCr = false;
            if (b[0] == '\n') {
                onLine(std::string_view(partial));
                partial.clear();
                i = 1;
            } else {
                partial += '\r';
            }
        }
        while (i < size) {
            const void* hit = std::memchr(b + i, '\r', size - i);
            if (!hit) {
                partial.append(b + i, size - i);
                break;
            }
            size_t pos = static_cast<const char*>(hit) - b;
            if (pos + 1 == size) {
                partial.append(b + i, pos - i);
                pendingCr = true;
                break;
            }
            if (b[pos + 1] == '\n') {
                if (partial.empty()) {
                    onLine(std::string_view(b + i, pos - i));
                } else {
                    partial.append(b + i, pos - i);
                    onLine(std::string_view(partial));
                    partial.clear();
                }
                i = pos + 2;
            } else {
                partial.append(b + i, pos + 1 - i);
                i = pos + 1;
            }
        }
    }
    if (n < 0) throw StreamError("read error");
    if (pendingCr) partial += '\r';
    if (!partial.empty()) onLine(std::string_view(partial));
}

// Collects small writes into large ones.
class BufferedWriter {
public:
    explicit BufferedWriter(OutputStream& out, size_t capacity = 1 << 20) : m_out(out), m_capacity(capacity) {
        m_buffer.reserve(capacity);
    }
    void write(std::string_view s) {
        if (m_buffer.size() + s.size() > m_capacity) flush();
        if (s.size() >= m_capacity) {
            if (!m_out.write(s.data(), s.size())) throw StreamError("write error");
            return;
        }
        m_buffer.append(s);
    }
    void writeLine(std::string_view s) {
        if (m_buffer.size() + s.size() + 2 > m_capacity) flush();
        if (s.size() + 2 > m_capacity) {
            write(s);
            write("\r\n");
            return;
        }
        m_buffer.append(s);
        m_buffer.append("\r\n", 2);
    }
    void flush() {
        if (!m_buffer.empty() && !m_out.write(m_buffer.data(), m_buffer.size())) throw StreamError("write error");
        m_buffer.clear();
    }
    // Flushes and closes the stream (data on stable storage).
    void close() {
        flush();
        if (!m_out.close()) throw StreamError("could not flush to disk");
    }

private:
    OutputStream& m_out;
    size_t m_capacity;
    std::string m_buffer;
};

}  // namespace vedozer
