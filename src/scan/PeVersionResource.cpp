#include "scan/PeVersionResource.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace vedozer {
namespace {

constexpr uint32_t kVersionType = 16;          // RT_VERSION
constexpr uint32_t kVersionName = 1;           // VS_VERSION_INFO
constexpr uint32_t kSubdirectory = 0x80000000u;
constexpr uint16_t kMaxSections = 96;          // the loader refuses more
constexpr size_t kMaxDirectoryEntries = 4096;  // read of one directory level

uint16_t u16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}
uint32_t u32(const std::string& b, size_t at) { return u16(b, at) | static_cast<uint32_t>(u16(b, at + 2)) << 16; }

struct Section {
    uint32_t address, virtualSize, rawSize, rawOffset;
};

struct DirectoryEntry {
    uint32_t name;  // a number, or a string offset with the top bit set
    uint32_t target;
    bool named() const { return name & kSubdirectory; }
    bool isDirectory() const { return target & kSubdirectory; }
    uint32_t offset() const { return target & ~kSubdirectory; }
};

class Reader {
public:
    explicit Reader(const ReadAt& readAt) : m_readAt(readAt) {}
    // Exactly n bytes at offset; false when the file is shorter or the read fails.
    bool exact(uint64_t offset, size_t n, std::string& out) {
        out.clear();
        if (!m_readAt(offset, n, out)) {
            m_failed = true;
            return false;
        }
        return out.size() == n;
    }
    bool failed() const { return m_failed; }
    const ReadAt& readAt() const { return m_readAt; }

private:
    const ReadAt& m_readAt;
    bool m_failed = false;
};

std::optional<uint64_t> fileOffset(const std::vector<Section>& sections, uint32_t rva) {
    for (const Section& s : sections) {
        if (rva < s.address) continue;
        uint32_t into = rva - s.address;
        if (into >= std::max(s.virtualSize, s.rawSize)) continue;
        if (into >= s.rawSize) return std::nullopt;  // zero-filled in memory, not in the file
        return static_cast<uint64_t>(s.rawOffset) + into;
    }
    return std::nullopt;
}

std::vector<DirectoryEntry> directory(Reader& in, uint64_t at) {
    std::string b;
    if (!in.exact(at, 16, b)) return {};
    size_t count = std::min<size_t>(size_t{u16(b, 12)} + u16(b, 14), kMaxDirectoryEntries);
    if (!in.exact(at + 16, count * 8, b)) return {};
    std::vector<DirectoryEntry> entries(count);
    for (size_t i = 0; i < count; ++i) entries[i] = {u32(b, i * 8), u32(b, i * 8 + 4)};
    return entries;
}

// The entry a lookup by number takes, or with `orFirst` the first one when none has the number.
std::optional<DirectoryEntry> pick(const std::vector<DirectoryEntry>& entries, std::optional<uint32_t> number,
                                   bool wantDirectory) {
    for (const auto& e : entries)
        if (e.isDirectory() == wantDirectory && (!number || (!e.named() && e.name == *number))) return e;
    return std::nullopt;
}

}  // namespace

PeVersionResource readPeVersionResource(const ReadAt& readAt) {
    PeVersionResource result;
    Reader in(readAt);
    auto end = [&](PeVersionLookup lookup) {
        result.lookup = in.failed() ? PeVersionLookup::ReadError : lookup;
        return result;
    };
    std::string b;
    if (!in.exact(0, 64, b) || b[0] != 'M' || b[1] != 'Z') return end(PeVersionLookup::NotPe);
    const uint64_t pe = u32(b, 0x3C);
    if (!in.exact(pe, 24, b) || b.compare(0, 4, std::string("PE\0\0", 4)) != 0) return end(PeVersionLookup::NotPe);
    const uint16_t sectionCount = u16(b, 6);
    const uint16_t optionalSize = u16(b, 20);

    std::string optional;
    if (!in.exact(pe + 24, std::min<uint16_t>(optionalSize, 240), optional) || optional.size() < 2)
        return end(PeVersionLookup::NoVersion);
    const uint16_t magic = u16(optional, 0);
    const size_t directories = magic == 0x10B ? 96 : magic == 0x20B ? 112 : 0;
    if (directories == 0 || optional.size() < directories + 3 * 8 || u32(optional, directories - 4) < 3)
        return end(PeVersionLookup::NoVersion);
    const uint32_t resourceRva = u32(optional, directories + 2 * 8);
    if (resourceRva == 0 || sectionCount > kMaxSections) return end(PeVersionLookup::NoVersion);

    std::vector<Section> sections(sectionCount);
    if (!in.exact(pe + 24 + optionalSize, size_t{sectionCount} * 40, b)) return end(PeVersionLookup::NoVersion);
    for (size_t i = 0; i < sectionCount; ++i)
        sections[i] = {u32(b, i * 40 + 12), u32(b, i * 40 + 8), u32(b, i * 40 + 16), u32(b, i * 40 + 20)};
    auto base = fileOffset(sections, resourceRva);
    if (!base) return end(PeVersionLookup::NoVersion);

    // Type, name, language: three levels, each read once.
    auto type = pick(directory(in, *base), kVersionType, true);
    if (!type) return end(PeVersionLookup::NoVersion);
    auto names = directory(in, *base + type->offset());
    auto name = pick(names, kVersionName, true);
    if (!name) name = pick(names, std::nullopt, true);
    if (!name) return end(PeVersionLookup::NoVersion);
    auto language = pick(directory(in, *base + name->offset()), std::nullopt, false);
    if (!language || !in.exact(*base + language->offset(), 16, b)) return end(PeVersionLookup::NoVersion);

    auto data = fileOffset(sections, u32(b, 0));
    if (!data) return end(PeVersionLookup::NoVersion);
    const size_t size = std::min<size_t>(u32(b, 4), kMaxVersionResourceBytes);
    // A file cut short keeps what it has: the search over it then finds what it can.
    if (!in.readAt()(*data, size, result.bytes)) return end(PeVersionLookup::ReadError);
    return end(PeVersionLookup::Found);
}

}  // namespace vedozer
