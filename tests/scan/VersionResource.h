#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace vedozer::test {

// Key text as a UTF-16 resource holds it, one zero before each character.
inline std::string W(const std::string& s) {
    std::string r;
    for (char c : s) {
        r.push_back('\0');
        r.push_back(c);
    }
    return r;
}

// A version resource laid out as a linker writes it (4-byte aligned blocks).
struct VersionBlock {
    std::string key;
    std::string value;  // raw bytes
    uint16_t valueLength = 0;
    uint16_t type = 1;
    std::vector<VersionBlock> children;

    std::string bytes() const {
        std::string b(6, '\0');
        b += W(key).substr(1) + std::string("\0\0\0", 3);  // UTF-16LE key and its terminator
        while (b.size() % 4) b.push_back('\0');
        b += value;
        for (const auto& c : children) {
            while (b.size() % 4) b.push_back('\0');
            b += c.bytes();
        }
        uint16_t len = static_cast<uint16_t>(b.size());
        std::memcpy(&b[0], &len, 2);
        std::memcpy(&b[2], &valueLength, 2);
        std::memcpy(&b[4], &type, 2);
        return b;
    }
};

inline std::string u16z(const std::string& s) { return W(s).substr(1) + std::string("\0\0\0", 3); }

inline VersionBlock stringEntry(const std::string& key, const std::string& value) {
    return {key, u16z(value), static_cast<uint16_t>(value.size() + 1), 1, {}};
}

inline std::string versionResource(const std::string& company) {
    VersionBlock table{"040904b0", "", 0, 1,
                       {stringEntry("CompanyName", company), stringEntry("FileDescription", "Some tool"),
                        stringEntry("FileVersion", "5.1.2600.0"), stringEntry("ProductName", "Tools")}};
    VersionBlock sfi{"StringFileInfo", "", 0, 1, {table}};
    VersionBlock root{"VS_VERSION_INFO", std::string(52, '\x01'), 52, 0, {sfi}};
    return root.bytes();
}

inline void put16(std::string& s, size_t at, uint16_t v) { std::memcpy(&s[at], &v, 2); }
inline void put32(std::string& s, size_t at, uint32_t v) { std::memcpy(&s[at], &v, 4); }

struct PeOptions {
    bool pe32plus = false;
    uint32_t rsrcFileOffset = 0x400;  // where the resource section's bytes lie in the file
    uint16_t versionType = 16;        // RT_VERSION; another number hides the version resource
    std::string iconData = "icon";    // an RT_ICON resource listed before the version resource
};

// A PE executable as a linker lays it out: headers, a .text section and a .rsrc section whose
// resource directory lists an icon and the version resource.
struct PeFile {
    std::string head;  // headers and .text
    uint64_t rsrcOffset = 0;
    std::string rsrc;  // the resource section
    std::string bytes() const { return head + std::string(rsrcOffset - head.size(), '\0') + rsrc; }
};

inline PeFile peExecutable(const std::string& version, const PeOptions& o = {}) {
    constexpr uint32_t kRsrcRva = 0x2000;
    auto directory = [](uint16_t id, uint32_t target) {
        std::string d(24, '\0');
        put16(d, 14, 1);  // one entry, by number
        put32(d, 16, id);
        put32(d, 20, target);
        return d;
    };
    // Root (two types), per type a name level and a language level, then two data entries.
    std::string r(32, '\0');
    put16(r, 14, 2);
    put32(r, 16, 3);
    put32(r, 20, 0x80000000u | 32);
    put32(r, 24, o.versionType);
    put32(r, 28, 0x80000000u | 80);
    r += directory(1, 0x80000000u | 56) + directory(0x409, 128);
    r += directory(1, 0x80000000u | 104) + directory(0x409, 144);
    std::string entries(32, '\0');
    const uint32_t iconAt = 160, versionAt = (iconAt + static_cast<uint32_t>(o.iconData.size()) + 3) & ~3u;
    put32(entries, 0, kRsrcRva + iconAt);
    put32(entries, 4, static_cast<uint32_t>(o.iconData.size()));
    put32(entries, 16, kRsrcRva + versionAt);
    put32(entries, 20, static_cast<uint32_t>(version.size()));
    r += entries + o.iconData;
    r.resize(versionAt, '\0');
    r += version;

    const uint32_t optionalSize = o.pe32plus ? 0xF0 : 0xE0;
    std::string h(0x400, '\0');
    h[0] = 'M';
    h[1] = 'Z';
    put32(h, 0x3C, 0x40);
    std::memcpy(&h[0x40], "PE\0\0", 4);
    put16(h, 0x44, o.pe32plus ? 0x8664 : 0x14C);
    put16(h, 0x46, 2);
    put16(h, 0x54, static_cast<uint16_t>(optionalSize));
    put16(h, 0x56, 0x22);
    const size_t opt = 0x58;
    put16(h, opt, o.pe32plus ? 0x20B : 0x10B);
    const size_t dirs = opt + (o.pe32plus ? 112 : 96);
    put32(h, dirs - 4, 16);
    put32(h, dirs + 2 * 8, kRsrcRva);
    put32(h, dirs + 2 * 8 + 4, static_cast<uint32_t>(r.size()));
    const size_t sections = opt + optionalSize;
    std::memcpy(&h[sections], ".text", 5);
    put32(h, sections + 8, 0x100);
    put32(h, sections + 12, 0x1000);
    put32(h, sections + 16, 0x200);
    put32(h, sections + 20, 0x200);
    std::memcpy(&h[sections + 40], ".rsrc", 5);
    put32(h, sections + 48, static_cast<uint32_t>(r.size()));
    put32(h, sections + 52, kRsrcRva);
    put32(h, sections + 56, (static_cast<uint32_t>(r.size()) + 0x1FF) & ~0x1FFu);
    put32(h, sections + 60, o.rsrcFileOffset);
    for (size_t i = 0x200; i < 0x400; ++i) h[i] = static_cast<char>(0x90);
    return {h, o.rsrcFileOffset, r};
}

// A small executable whose version resource names the company.
inline std::string executableWithCompany(const std::string& company) {
    return peExecutable(versionResource(company)).bytes();
}

}  // namespace vedozer::test
