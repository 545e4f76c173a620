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

// A small file laid out like an executable whose version resource names the company.
inline std::string executableWithCompany(const std::string& company) {
    std::string f = "MZ";
    while (f.size() < 1024) f.push_back(static_cast<char>('A' + f.size() % 26));
    f += versionResource(company);
    f += std::string(64, '\0');
    return f;
}

}  // namespace vedozer::test
