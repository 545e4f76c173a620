#include "definitions/LineReader.h"

#include <cstring>

namespace vedozer {

namespace {
constexpr size_t kBufferSize = 64 * 1024;
}

LineReader::LineReader(InputStream& in, size_t maxLineLength)
    : m_in(&in), m_max(maxLineLength), m_buffer(kBufferSize) {}

LineReader::LineReader(std::unique_ptr<InputStream> in, size_t maxLineLength)
    : m_owned(std::move(in)), m_in(m_owned.get()), m_max(maxLineLength), m_buffer(kBufferSize) {}

bool LineReader::fill() {
    if (m_eof || !m_in) return false;
    long long n = m_in->read(m_buffer.data(), m_buffer.size());
    if (n <= 0) {
        if (n < 0) m_failed = true;
        m_eof = true;
        m_pos = m_end = 0;
        return false;
    }
    m_pos = 0;
    m_end = static_cast<size_t>(n);
    return true;
}

void LineReader::appendCapped(std::string& line, const char* data, size_t n) {
    size_t room = line.size() < m_max ? m_max - line.size() : 0;
    if (n > room) {
        m_lastTruncated = true;
        n = room;
    }
    line.append(data, n);
}

bool LineReader::next(std::string& line) {
    line.clear();
    m_lastTruncated = false;
    bool started = false;  // some byte of this line was consumed
    while (true) {
        if (m_pos == m_end && !fill()) break;
        const char* begin = m_buffer.data() + m_pos;
        size_t avail = m_end - m_pos;
        const void* cr = std::memchr(begin, '\r', avail);
        if (!cr) {
            appendCapped(line, begin, avail);
            m_pos = m_end;
            started = true;
            continue;
        }
        size_t len = static_cast<const char*>(cr) - begin;
        appendCapped(line, begin, len);
        m_pos += len + 1;
        started = true;
        if (m_pos == m_end && !fill()) {
            appendCapped(line, "\r", 1);  // a CR as the stream's last byte belongs to the last line
            break;
        }
        if (m_buffer[m_pos] == '\n') {
            ++m_pos;
            if (m_lastTruncated) ++m_truncatedCount;
            return true;
        }
        appendCapped(line, "\r", 1);
    }
    if (m_lastTruncated) ++m_truncatedCount;
    return started;
}

int64_t countLines(InputStream& in) {
    std::vector<char> buffer(kBufferSize);
    int64_t lines = 0;
    bool pendingCr = false;  // the previous chunk ended in CR
    bool openLine = false;   // bytes seen since the last CR LF
    while (true) {
        long long n = in.read(buffer.data(), buffer.size());
        if (n < 0) return -1;
        if (n == 0) break;
        const char* p = buffer.data();
        const char* end = p + n;
        openLine = true;
        if (pendingCr && *p == '\n') {
            ++lines;
            ++p;
            openLine = p != end;
        }
        pendingCr = false;
        while (p != end) {
            const char* cr = static_cast<const char*>(std::memchr(p, '\r', end - p));
            if (!cr) break;
            if (cr + 1 == end) {
                pendingCr = true;
                break;
            }
            if (cr[1] == '\n') {
                ++lines;
                p = cr + 2;
                openLine = p != end;
            } else {
                p = cr + 1;
            }
        }
    }
    return lines + (openLine ? 1 : 0);
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t p = text.find("\r\n", start);
        if (p == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, p - start));
        start = p + 2;
    }
    return lines;
}

}  // namespace vedozer
