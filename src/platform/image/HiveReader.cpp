#include "platform/image/HiveReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/image/HivePages.h"
#include "text/CodePage.h"

namespace vedozer {
namespace {

constexpr uint32_t kBinsStart = 0x1000;
constexpr size_t kNodeHeader = 0x4C;   // "nk" record up to its name
constexpr size_t kValueHeader = 0x14;  // "vk" record up to its name
constexpr uint32_t kCompressedKeyName = 0x20;
constexpr uint16_t kCompressedValueName = 0x1;
constexpr uint32_t kInlineData = 0x80000000u;
// No value the engine reads comes near this; a larger one is damage or an attack on memory.
constexpr uint32_t kMaxValueData = 16u << 20;

uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Names are stored in Latin-1 ("compressed") or UTF-16LE; a lone surrogate has no UTF-8 form.
std::optional<std::string> nameToUtf8(const unsigned char* p, size_t n, bool compressed) {
    std::string out;
    out.reserve(n);
    if (compressed) {
        for (size_t i = 0; i < n; ++i) text::appendUtf8(out, p[i]);
        return out;
    }
    for (size_t i = 0; i + 1 < n; i += 2) {
        char32_t unit = le16(p + i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < n) {
            char32_t low = le16(p + i + 2);
            if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
            text::appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
            i += 2;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            return std::nullopt;
        } else {
            text::appendUtf8(out, unit);
        }
    }
    return out;
}

}  // namespace

struct HiveReader::Cell {
    uint64_t payload = 0;  // file offset of the record after the cell's size field
    size_t length = 0;     // bytes of the record
};

HiveReader::HiveReader() = default;
HiveReader::~HiveReader() = default;

bool HiveReader::fail(const std::string& what) {
    m_error = what;
    return false;
}

void HiveReader::close() { m_pages.reset(); }
bool HiveReader::isOpen() const { return m_pages != nullptr; }
long HiveReader::pagesRead() const { return m_pages ? m_pages->reads() : 0; }

bool HiveReader::open(const std::string& hostPath) { return openAt(AT_FDCWD, hostPath); }

bool HiveReader::openAt(int dirFd, const std::string& name) {
    close();
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (dirFd == AT_FDCWD ? 0 : O_NOFOLLOW);
    int fd = ::openat(dirFd, name.c_str(), flags);
    if (fd < 0) return fail("hive file cannot be opened (" + std::string(std::strerror(errno)) + ")");
    return start(fd);
}

bool HiveReader::start(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail("hive is not a regular file");
    }
    m_pages = std::make_unique<HivePages>(fd, static_cast<uint64_t>(st.st_size));
    unsigned char header[0x200];
    if (!readAt(0, sizeof header, header) || std::memcmp(header, "regf", 4) != 0) {
        close();
        return fail("not a registry hive");
    }
    uint32_t sum = 0;
    for (size_t at = 0; at < 0x1FC; at += 4) sum ^= le32(header + at);
    const uint32_t stored = le32(header + 0x1FC);
    // Windows stores a sum of 0 as 1 and one of all ones as all ones less one.
    if (stored != sum && !(sum == 0 && stored == 1) && !(sum == 0xFFFFFFFFu && stored == 0xFFFFFFFEu)) {
        close();
        return fail("bad checksum in the hive's header");
    }
    if (le32(header + 0x14) != 1) {
        close();
        return fail("hive of an unknown major version");
    }
    unsigned char bin[4];
    if (!readAt(kBinsStart, 4, bin) || std::memcmp(bin, "hbin", 4) != 0) {
        close();
        return fail("the hive's first bin is damaged");
    }
    m_minor = le32(header + 0x18);
    m_dirty = le32(header + 4) != le32(header + 8);
    m_root = kBinsStart + le32(header + 0x24);
    m_end = kBinsStart + static_cast<uint64_t>(le32(header + 0x28));
    if (m_end > static_cast<uint64_t>(st.st_size)) {
        close();
        return fail("hive file is truncated");
    }
    if (!cell(m_root, kNodeHeader)) {
        close();
        return fail("hive has no root key");
    }
    return true;
}

bool HiveReader::readAt(uint64_t pos, size_t n, void* out) {
    return m_pages && m_pages->read(pos, n, static_cast<unsigned char*>(out));
}

// A used cell at a file offset inside the bins with room for minPayload bytes of record.
std::optional<HiveReader::Cell> HiveReader::cell(uint32_t offset, size_t minPayload) {
    if (offset < kBinsStart + 0x20 || offset % 4 != 0 || offset + 4ull > m_end) return std::nullopt;
    unsigned char size[4];
    if (!readAt(offset, 4, size)) return std::nullopt;
    const int32_t stored = static_cast<int32_t>(le32(size));
    if (stored >= 0 || stored == INT32_MIN) return std::nullopt;  // free, or no size at all
    const uint64_t length = static_cast<uint64_t>(-static_cast<int64_t>(stored));
    if (length < 4 + minPayload || offset + length > m_end) return std::nullopt;
    return Cell{offset + 4ull, static_cast<size_t>(length - 4)};
}

bool HiveReader::readCell(const Cell& c, std::vector<unsigned char>& out) {
    out.resize(c.length);
    return readAt(c.payload, c.length, out.data());
}

bool HiveReader::collectList(uint32_t list, int depth, std::vector<uint32_t>& out) {
    auto c = cell(list, 4);
    std::vector<unsigned char> record;
    if (!c || !readCell(*c, record)) return fail("a sub key list lies outside the hive");
    const size_t n = le16(record.data() + 2);
    const char* id = reinterpret_cast<const char*>(record.data());
    const bool hashed = std::memcmp(id, "lf", 2) == 0 || std::memcmp(id, "lh", 2) == 0;
    const bool plain = std::memcmp(id, "li", 2) == 0;
    const bool index = std::memcmp(id, "ri", 2) == 0;
    if (!hashed && !plain && !index) return fail("unknown sub key list");
    const size_t stride = hashed ? 8 : 4;
    if (4 + n * stride > record.size()) return fail("a sub key list is longer than its cell");
    if (index && depth > 0) return fail("a sub key index nested in another");
    for (size_t i = 0; i < n; ++i) {
        const uint32_t at = kBinsStart + le32(record.data() + 4 + i * stride);
        if (index) {
            if (!collectList(at, depth + 1, out)) return false;
        } else {
            out.push_back(at);
        }
    }
    return true;
}

std::optional<std::vector<uint32_t>> HiveReader::children(uint32_t node) {
    auto c = cell(node, kNodeHeader);
    unsigned char nk[kNodeHeader];
    if (!c || !readAt(c->payload, sizeof nk, nk) || std::memcmp(nk, "nk", 2) != 0) {
        fail("a key record lies outside the hive");
        return std::nullopt;
    }
    std::vector<uint32_t> out;
    if (le32(nk + 0x14) == 0) return out;
    if (!collectList(kBinsStart + le32(nk + 0x1C), 0, out)) return std::nullopt;
    return out;
}

std::optional<std::string> HiveReader::name(uint32_t node, bool& damaged) {
    auto c = cell(node, kNodeHeader);
    unsigned char nk[kNodeHeader];
    const size_t length =
        c && readAt(c->payload, sizeof nk, nk) && std::memcmp(nk, "nk", 2) == 0 ? le16(nk + 0x48) : 0;
    m_buffer.resize(length);
    if (!c || std::memcmp(nk, "nk", 2) != 0 || kNodeHeader + length > c->length ||
        !readAt(c->payload + kNodeHeader, length, m_buffer.data())) {
        damaged = true;
        fail("a key record lies outside the hive or is damaged");
        return std::nullopt;
    }
    return nameToUtf8(m_buffer.data(), length, le16(nk + 0x02) & kCompressedKeyName);
}

std::optional<std::vector<HiveReader::Value>> HiveReader::values(uint32_t node) {
    auto c = cell(node, kNodeHeader);
    unsigned char nk[kNodeHeader];
    if (!c || !readAt(c->payload, sizeof nk, nk) || std::memcmp(nk, "nk", 2) != 0) {
        fail("a key record lies outside the hive");
        return std::nullopt;
    }
    std::vector<Value> out;
    const size_t count = le32(nk + 0x24);
    if (count == 0) return out;
    auto list = cell(kBinsStart + le32(nk + 0x28), 0);
    std::vector<unsigned char> offsets;
    if (!list || count > list->length / 4 || !readCell(*list, offsets)) {
        fail("a value list lies outside the hive");
        return std::nullopt;
    }
    out.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t at = kBinsStart + le32(offsets.data() + 4 * i);
        auto vc = cell(at, kValueHeader);
        unsigned char vk[kValueHeader];
        if (!vc || !readAt(vc->payload, sizeof vk, vk) || std::memcmp(vk, "vk", 2) != 0) {
            fail("a value record lies outside the hive");
            return std::nullopt;
        }
        const size_t length = le16(vk + 0x02);
        if (kValueHeader + length > vc->length) {
            fail("a value name is longer than its record");
            return std::nullopt;
        }
        m_buffer.resize(length);
        if (!readAt(vc->payload + kValueHeader, length, m_buffer.data())) return std::nullopt;
        auto name = nameToUtf8(m_buffer.data(), length, le16(vk + 0x10) & kCompressedValueName);
        if (!name) {
            fail("a value name cannot be decoded");
            return std::nullopt;
        }
        out.push_back(Value{std::move(*name), le32(vk + 0x0C), at});
    }
    return out;
}

std::optional<std::string> HiveReader::data(const Value& value) {
    auto vc = cell(value.cell, kValueHeader);
    unsigned char vk[kValueHeader];
    if (!vc || !readAt(vc->payload, sizeof vk, vk)) {
        fail("a value record lies outside the hive");
        return std::nullopt;
    }
    const uint32_t stored = le32(vk + 0x04);
    const uint32_t length = stored & ~kInlineData;
    if (stored & kInlineData) {
        if (length > 4) {
            fail("inline value data longer than 4 bytes");
            return std::nullopt;
        }
        return std::string(reinterpret_cast<const char*>(vk + 0x08), length);
    }
    if (length == 0) return std::string();
    if (length > kMaxValueData) {
        fail("value data of " + std::to_string(length) + " bytes is more than is read");
        return std::nullopt;
    }
    auto dc = cell(kBinsStart + le32(vk + 0x08), 0);
    if (!dc) {
        fail("value data lies outside the hive");
        return std::nullopt;
    }
    std::string out(length, '\0');
    if (length <= dc->length) {
        if (!readAt(dc->payload, length, out.data())) return std::nullopt;
        return out;
    }
    // Longer than its cell: a big-data record ("db") listing the segments that hold it.
    unsigned char db[8];
    if (dc->length < 8 || !readAt(dc->payload, 8, db) || std::memcmp(db, "db", 2) != 0) {
        fail("value data is longer than its cell");
        return std::nullopt;
    }
    const size_t segments = le16(db + 2);
    auto list = cell(kBinsStart + le32(db + 4), 4 * segments);
    std::vector<unsigned char> offsets;
    if (!list || !readCell(*list, offsets)) {
        fail("a big-data segment list lies outside the hive");
        return std::nullopt;
    }
    size_t filled = 0;
    for (size_t i = 0; i < segments && filled < length; ++i) {
        // A segment's last 4 bytes are not data (the cell rounds 16,344 bytes of data up to 16,352).
        auto seg = cell(kBinsStart + le32(offsets.data() + 4 * i), 4);
        if (!seg) {
            fail("a big-data segment lies outside the hive");
            return std::nullopt;
        }
        const size_t take = std::min(seg->length - 4, length - filled);
        if (!readAt(seg->payload, take, out.data() + filled)) return std::nullopt;
        filled += take;
    }
    if (filled != length) {
        fail("big-data segments hold less than the value's length");
        return std::nullopt;
    }
    return out;
}

}  // namespace vedozer
