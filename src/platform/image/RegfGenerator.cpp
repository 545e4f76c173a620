#include "platform/image/RegfGenerator.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace vedozer {
namespace {

constexpr uint32_t kBlockSize = 0x1000;     // base block and hive bin size
constexpr uint32_t kHbinHeaderSize = 0x20;
constexpr uint32_t kNoCell = 0xFFFFFFFF;
constexpr uint16_t kKeyHiveEntry = 0x0004;
constexpr uint16_t kKeyCompName = 0x0020;
constexpr uint32_t kNkFixedSize = 0x4C;     // nk record up to its name
constexpr uint32_t kSkFixedSize = 0x14;     // sk record up to its descriptor

void put16(std::string& b, size_t at, uint16_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
}

void put32(std::string& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void put64(std::string& b, size_t at, uint64_t v) {
    put32(b, at, static_cast<uint32_t>(v));
    put32(b, at + 4, static_cast<uint32_t>(v >> 32));
}

uint32_t get32(const std::string& b, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

uint32_t align8(uint32_t n) { return (n + 7) & ~7u; }

// A SID in binary form: revision 1, authority (big-endian, 48 bits), sub-authorities.
std::string sid(uint8_t authority, std::initializer_list<uint32_t> subAuthorities) {
    std::string s(8 + 4 * subAuthorities.size(), '\0');
    s[0] = 1;
    s[1] = static_cast<char>(subAuthorities.size());
    s[7] = static_cast<char>(authority);
    size_t at = 8;
    for (uint32_t sub : subAuthorities) {
        put32(s, at, sub);
        at += 4;
    }
    return s;
}

std::string allowAce(uint32_t mask, const std::string& who) {
    std::string ace(8, '\0');
    ace[0] = 0;     // access allowed
    ace[1] = 0x02;  // inherited by sub keys
    put16(ace, 2, static_cast<uint16_t>(8 + who.size()));
    put32(ace, 4, mask);
    return ace + who;
}

// Self-relative descriptor: owner Administrators, group SYSTEM; SYSTEM and Administrators get
// full control, Everyone read access.
std::string securityDescriptor() {
    const std::string system = sid(5, {18});
    const std::string admins = sid(5, {32, 544});
    const std::string everyone = sid(1, {0});
    std::string aces = allowAce(0xF003F, system) + allowAce(0xF003F, admins) + allowAce(0x20019, everyone);
    std::string acl(8, '\0');
    acl[0] = 2;  // ACL revision
    put16(acl, 2, static_cast<uint16_t>(8 + aces.size()));
    put16(acl, 4, 3);
    acl += aces;

    std::string sd(20, '\0');
    sd[0] = 1;                      // revision
    put16(sd, 2, 0x8000 | 0x0004);  // self-relative, DACL present
    const uint32_t daclAt = 20;
    const uint32_t ownerAt = daclAt + static_cast<uint32_t>(acl.size());
    const uint32_t groupAt = ownerAt + static_cast<uint32_t>(admins.size());
    put32(sd, 4, ownerAt);
    put32(sd, 8, groupAt);
    put32(sd, 12, 0);  // no SACL
    put32(sd, 16, daclAt);
    return sd + acl + admins + system;
}

uint32_t rawXor(const std::string& block) {
    uint32_t sum = 0;
    for (size_t at = 0; at < 0x1FC; at += 4) sum ^= get32(block, at);
    return sum;
}

}  // namespace

uint64_t currentFileTime() {
    using namespace std::chrono;
    constexpr uint64_t kEpochDifference = 116444736000000000ULL;  // 1601-01-01 to 1970-01-01
    auto since1970 = duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
    return kEpochDifference + static_cast<uint64_t>(since1970 / 100);
}

bool isValidHiveRootName(const std::string& rootName) {
    if (rootName.empty() || rootName.size() > 255) return false;
    for (unsigned char c : rootName) {
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F) || c == '\\') return false;
    }
    return true;
}

uint32_t regfHeaderChecksum(const std::string& baseBlock) {
    if (baseBlock.size() < 0x200) throw std::invalid_argument("base block too short");
    uint32_t sum = rawXor(baseBlock);
    if (sum == 0xFFFFFFFF) return 0xFFFFFFFE;
    if (sum == 0) return 1;
    return sum;
}

std::string makeEmptyHive(const std::string& rootName, const EmptyHiveOptions& options) {
    if (!isValidHiveRootName(rootName)) throw std::invalid_argument("invalid hive root name");
    if (options.minorVersion != 3 && options.minorVersion != 5)
        throw std::invalid_argument("hive version must be 1.3 or 1.5");
    uint64_t fileTime = options.fileTime ? options.fileTime : currentFileTime();

    const std::string sd = securityDescriptor();
    const uint32_t nkAt = kHbinHeaderSize;  // cell offsets count from the first hive bin
    const uint32_t nkSize = align8(4 + kNkFixedSize + static_cast<uint32_t>(rootName.size()));
    const uint32_t skAt = nkAt + nkSize;
    const uint32_t skSize = align8(4 + kSkFixedSize + static_cast<uint32_t>(sd.size()));
    const uint32_t freeAt = skAt + skSize;
    const uint32_t freeSize = kBlockSize - freeAt;

    std::string hive(2 * kBlockSize, '\0');
    const size_t bin = kBlockSize;
    std::memcpy(&hive[bin], "hbin", 4);
    put32(hive, bin + 4, 0);           // offset of this bin
    put32(hive, bin + 8, kBlockSize);  // its size

    // Root key.
    size_t nk = bin + nkAt;
    put32(hive, nk, static_cast<uint32_t>(-static_cast<int32_t>(nkSize)));  // negative: allocated
    std::memcpy(&hive[nk + 4], "nk", 2);
    put16(hive, nk + 6, kKeyHiveEntry | kKeyCompName);
    put32(hive, nk + 4 + 0x10, kNoCell);  // parent
    put32(hive, nk + 4 + 0x14, 0);        // sub keys
    put32(hive, nk + 4 + 0x18, 0);        // volatile sub keys
    put32(hive, nk + 4 + 0x1C, kNoCell);
    put32(hive, nk + 4 + 0x20, kNoCell);
    put32(hive, nk + 4 + 0x24, 0);  // values
    put32(hive, nk + 4 + 0x28, kNoCell);
    put32(hive, nk + 4 + 0x2C, skAt);
    put32(hive, nk + 4 + 0x30, kNoCell);  // class name
    put16(hive, nk + 4 + 0x48, static_cast<uint16_t>(rootName.size()));
    put16(hive, nk + 4 + 0x4A, 0);
    std::memcpy(&hive[nk + 4 + kNkFixedSize], rootName.data(), rootName.size());

    // Its security record: the only one, so the list points to itself.
    size_t sk = bin + skAt;
    put32(hive, sk, static_cast<uint32_t>(-static_cast<int32_t>(skSize)));
    std::memcpy(&hive[sk + 4], "sk", 2);
    put32(hive, sk + 4 + 0x04, skAt);
    put32(hive, sk + 4 + 0x08, skAt);
    put32(hive, sk + 4 + 0x0C, 1);  // reference count: the root key
    put32(hive, sk + 4 + 0x10, static_cast<uint32_t>(sd.size()));
    std::memcpy(&hive[sk + 4 + kSkFixedSize], sd.data(), sd.size());

    // The rest of the bin is one free cell (positive size).
    put32(hive, bin + freeAt, freeSize);

    // Base block. The timestamp is nudged so that the plain XOR never hits one of the two
    // special checksum values: readers that skip the special cases then agree with the stored sum.
    std::memcpy(&hive[0], "regf", 4);
    put32(hive, 0x04, 1);  // primary sequence number
    put32(hive, 0x08, 1);  // secondary: equal, so the hive is consistent
    put32(hive, 0x14, 1);  // major version
    put32(hive, 0x18, options.minorVersion);
    put32(hive, 0x1C, 0);  // primary file
    put32(hive, 0x20, 1);  // direct memory load
    put32(hive, 0x24, nkAt);
    put32(hive, 0x28, kBlockSize);  // size of the hive bins data
    put32(hive, 0x2C, 1);           // clustering factor
    for (;;) {
        put64(hive, 0x0C, fileTime);
        put64(hive, bin + 0x14, fileTime);
        put64(hive, nk + 4 + 0x04, fileTime);
        uint32_t sum = rawXor(hive);
        if (sum != 0 && sum != 0xFFFFFFFF) break;
        ++fileTime;
    }
    put32(hive, 0x1FC, regfHeaderChecksum(hive));
    return hive;
}

bool writeEmptyHive(const std::string& hostPath, const std::string& rootName,
                    const EmptyHiveOptions& options, std::string* error) {
    auto fail = [&](const std::string& message) {
        if (error) *error = message;
        return false;
    };
    std::string bytes;
    try {
        bytes = makeEmptyHive(rootName, options);
    } catch (const std::invalid_argument& e) {
        return fail(e.what());
    }
    // Written beside the target and renamed over it, so a reader never sees half a hive.
    std::string pattern = hostPath + ".XXXXXX";
    std::vector<char> temp(pattern.begin(), pattern.end());
    temp.push_back('\0');
    int fd = ::mkstemp(temp.data());
    if (fd < 0) return fail(hostPath + ": " + std::strerror(errno));
    auto abandon = [&](int err) {
        ::close(fd);
        ::unlink(temp.data());
        return fail(hostPath + ": " + std::strerror(err ? err : EIO));
    };
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return abandon(errno);
        done += static_cast<size_t>(n);
    }
    if (::fchmod(fd, 0644) != 0 || ::fsync(fd) != 0) return abandon(errno);
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(temp.data());
        return fail(hostPath + ": " + std::strerror(err));
    }
    if (::rename(temp.data(), hostPath.c_str()) != 0) {
        int err = errno;
        ::unlink(temp.data());
        return fail(hostPath + ": " + std::strerror(err));
    }
    return true;
}

}  // namespace vedozer
