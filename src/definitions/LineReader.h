#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace vedozer {

// Reads a text stream line by line. Only the pair CR LF ends a line: a lone CR or LF is part of
// the line (an encoded definition line may hold either byte). A last line without CR LF still
// counts; an empty stream has no lines.
//
// Memory stays bounded: a line longer than the cap keeps its first maxLineLength bytes, the rest
// up to its CR LF is skipped, and it is still delivered (and counted) as one line. truncated()
// tells whether the line just returned was cut.
class LineReader {
public:
    static constexpr size_t kMaxLineLength = 64 * 1024;

    explicit LineReader(InputStream& in, size_t maxLineLength = kMaxLineLength);
    explicit LineReader(std::unique_ptr<InputStream> in, size_t maxLineLength = kMaxLineLength);
    LineReader(LineReader&&) noexcept = default;
    LineReader& operator=(LineReader&&) noexcept = default;

    // The next line without its CR LF; false at the end of the stream (or after a read error).
    bool next(std::string& line);

    bool truncated() const { return m_lastTruncated; }
    size_t truncatedLines() const { return m_truncatedCount; }
    // True when the stream reported a read error; lines read before it were delivered.
    bool failed() const { return m_failed; }

private:
    bool fill();
    void appendCapped(std::string& line, const char* data, size_t n);

    std::unique_ptr<InputStream> m_owned;
    InputStream* m_in = nullptr;
    size_t m_max = kMaxLineLength;
    std::vector<char> m_buffer;
    size_t m_pos = 0;
    size_t m_end = 0;
    bool m_eof = false;
    bool m_failed = false;
    bool m_lastTruncated = false;
    size_t m_truncatedCount = 0;
};

// Counts the lines of a stream by the same rule as LineReader without assembling them.
// Returns -1 when the stream reports a read error.
int64_t countLines(InputStream& in);

// Splits text held in memory by the same rule (no length cap).
std::vector<std::string> splitLines(std::string_view text);

}  // namespace vedozer
