#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "definitions/LineReader.h"

namespace vedozer {
namespace {

// Hands out the text in chunks of a fixed size; fails after failAt bytes when set.
class ChunkedInput : public InputStream {
public:
    ChunkedInput(std::string data, size_t chunk, size_t failAt = SIZE_MAX)
        : m_data(std::move(data)), m_chunk(chunk), m_failAt(failAt) {}
    long long read(char* buffer, size_t n) override {
        if (m_pos >= m_failAt) return -1;
        size_t count = std::min({n, m_chunk, m_data.size() - m_pos, m_failAt - m_pos});
        std::copy_n(m_data.data() + m_pos, count, buffer);
        m_pos += count;
        ++reads;
        return static_cast<long long>(count);
    }
    int reads = 0;

private:
    std::string m_data;
    size_t m_pos = 0;
    size_t m_chunk;
    size_t m_failAt;
};

std::vector<std::string> readAllLines(const std::string& data, size_t chunk,
                                      size_t cap = LineReader::kMaxLineLength) {
    ChunkedInput in(data, chunk);
    LineReader reader(in, cap);
    std::vector<std::string> lines;
    std::string line;
    while (reader.next(line)) lines.push_back(line);
    return lines;
}

int64_t count(const std::string& data, size_t chunk) {
    ChunkedInput in(data, chunk);
    return countLines(in);
}

using Lines = std::vector<std::string>;

TEST(LineReader, SplitsOnCrLfOnly) {
    struct Case {
        std::string data;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},  // last line without CR LF still counts
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"a\rb\nc\r\n", {"a\rb\nc"}},  // lone CR and LF stay in the line
        {"a\n\r\nb", {"a\n", "b"}},
        {"a\r\r\n", {"a\r"}},
        {"a\r", {"a\r"}},  // a trailing lone CR belongs to the last line
        {"\r", {"\r"}},
        {"\n", {"\n"}},
        {"\r\r\n\n", {"\r", "\n"}},
        {std::string("x\0y\r\n", 5), {std::string("x\0y", 3)}},
    };
    for (const auto& c : cases) {
        for (size_t chunk : {size_t{1}, size_t{2}, size_t{3}, size_t{1000}}) {
            EXPECT_EQ(readAllLines(c.data, chunk), c.lines) << "chunk " << chunk;
            EXPECT_EQ(count(c.data, chunk), static_cast<int64_t>(c.lines.size())) << "chunk " << chunk;
        }
        EXPECT_EQ(splitLines(c.data), c.lines);
    }
}

TEST(LineReader, AgreesWithTheSplitterOnRandomBytes) {
    std::mt19937 rng(7);
    const char alphabet[] = {'\r', '\n', 'a', 'b', '\0', '\xFF'};
    for (int round = 0; round < 300; ++round) {
        std::string data(rng() % 200, ' ');
        for (char& c : data) c = alphabet[rng() % sizeof alphabet];
        size_t chunk = 1 + rng() % 17;
        Lines expected = splitLines(data);
        ASSERT_EQ(readAllLines(data, chunk), expected) << round;
        ASSERT_EQ(count(data, chunk), static_cast<int64_t>(expected.size())) << round;
    }
}

TEST(LineReader, BinaryGarbageIsReadWithoutLoss) {
    std::mt19937 rng(11);
    std::string data(300000, '\0');
    for (char& c : data) c = static_cast<char>(rng());
    Lines lines = readAllLines(data, 4096, SIZE_MAX);
    std::string joined;
    for (size_t i = 0; i < lines.size(); ++i) joined += lines[i] + (i + 1 < lines.size() ? "\r\n" : "");
    if (data.size() >= 2 && data.substr(data.size() - 2) == "\r\n") joined += "\r\n";
    EXPECT_TRUE(joined == data);
    EXPECT_EQ(count(data, 4096), static_cast<int64_t>(lines.size()));
}

TEST(LineReader, CutsOverLongLinesAndCountsThemOnce) {
    std::string longLine(200000, 'x');
    std::string data = "short\r\n" + longLine + "\r\nafter\r\n" + longLine;
    ChunkedInput in(data, 1000);
    LineReader reader(in);
    std::string line;
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line, "short");
    EXPECT_FALSE(reader.truncated());
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line, std::string(LineReader::kMaxLineLength, 'x'));
    EXPECT_TRUE(reader.truncated());
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line, "after");
    EXPECT_FALSE(reader.truncated());
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line.size(), LineReader::kMaxLineLength);
    EXPECT_FALSE(reader.next(line));
    EXPECT_EQ(reader.truncatedLines(), 2u);
    EXPECT_EQ(count(data, 1000), 4);
}

TEST(LineReader, CapHoldsAcrossLoneCrAndChunkBorders) {
    // A CR LF right at the cap, and lone CRs beyond it, must still end the line correctly.
    std::string data = std::string(8, 'a') + "\r\n" + std::string(10, 'b') + "\rc\r\nd";
    for (size_t chunk : {size_t{1}, size_t{3}, size_t{64}}) {
        EXPECT_EQ(readAllLines(data, chunk, 8), (Lines{"aaaaaaaa", "bbbbbbbb", "d"})) << chunk;
    }
    EXPECT_EQ(readAllLines("abc\r", 1, 3), (Lines{"abc"}));
}

TEST(LineReader, StopsAtAReadErrorKeepingWhatWasRead) {
    ChunkedInput in("one\r\ntwo\r\nthree\r\n", 4, 8);  // hands out "one\r", "\ntwo", then fails
    LineReader reader(in);
    std::string line;
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line, "one");
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line, "two");
    EXPECT_TRUE(reader.failed());
    EXPECT_FALSE(reader.next(line));

    ChunkedInput broken("one\r\ntwo", 4, 5);
    EXPECT_EQ(countLines(broken), -1);
}

TEST(LineReader, ReadsInBoundedChunks) {
    std::string data(1 << 20, 'q');
    ChunkedInput in(data, SIZE_MAX);
    LineReader reader(in, 16);
    std::string line;
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line.size(), 16u);
    EXPECT_GE(in.reads, 16);  // the whole megabyte was not asked for at once
    EXPECT_FALSE(reader.next(line));
}

}  // namespace
}  // namespace vedozer
