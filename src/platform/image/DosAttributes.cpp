#include "platform/image/DosAttributes.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace vedozer::posix {
namespace {

constexpr const char* kForms[] = {"system.ntfs_attrib_be", "system.ntfs_attrib", "user.DOSATTRIB"};
constexpr int kFormCount = 3;

// getxattrat(2) (Linux 6.13): an attribute of an entry named relative to a folder descriptor. Its
// number is the same on every architecture that numbers system calls the generic way.
#if defined(__x86_64__) || defined(__aarch64__) || defined(__riscv)
constexpr long kGetXattrAt = 464;
#else
constexpr long kGetXattrAt = -1;
#endif

struct XattrArgs {
    uint64_t value;
    uint32_t size;
    uint32_t flags;
};

// Older kernels (and sandboxes that filter unknown calls) refuse getxattrat: the entry is then
// named through the folder's descriptor in /proc, which resolves no path string of ours either.
ssize_t getAttributeAt(int dirFd, const std::string& name, const char* attribute, void* buffer, size_t size) {
    if (dirFd == AT_FDCWD) return ::lgetxattr(name.c_str(), attribute, buffer, size);
    static std::atomic<int> haveAt{kGetXattrAt < 0 ? 0 : -1};
    if (haveAt.load(std::memory_order_relaxed) != 0) {
        XattrArgs args{reinterpret_cast<uintptr_t>(buffer), static_cast<uint32_t>(size), 0};
        long r =
            ::syscall(kGetXattrAt, dirFd, name.c_str(), AT_SYMLINK_NOFOLLOW, attribute, &args, sizeof args);
        if (r >= 0 || (errno != ENOSYS && errno != EPERM)) {
            haveAt.store(1, std::memory_order_relaxed);
            return r;
        }
        if (haveAt.load(std::memory_order_relaxed) < 0)
            haveAt.store(0, std::memory_order_relaxed);
        else
            return r;  // worked before: this EPERM is the entry's own answer
    }
    char path[64 + 4096];
    int n = std::snprintf(path, sizeof path, "/proc/self/fd/%d/%s", dirFd, name.c_str());
    if (n < 0 || static_cast<size_t>(n) >= sizeof path) {
        errno = ENAMETOOLONG;
        return -1;
    }
    return ::lgetxattr(path, attribute, buffer, size);
}

}  // namespace

std::optional<uint32_t> parseDosAttribute(int form, const unsigned char* b, long n) {
    switch (form) {
        case 0:
            if (n == 4) return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
            return std::nullopt;
        case 1:
            if (n == 4) return (uint32_t(b[3]) << 24) | (uint32_t(b[2]) << 16) | (uint32_t(b[1]) << 8) | b[0];
            return std::nullopt;
        default: {
            if (n <= 2 || b[0] != '0' || (b[1] != 'x' && b[1] != 'X')) return std::nullopt;
            std::string digits(reinterpret_cast<const char*>(b) + 2, static_cast<size_t>(n - 2));
            return static_cast<uint32_t>(std::strtoul(digits.c_str(), nullptr, 16));
        }
    }
}

std::optional<uint32_t> DosAttributeReader::read(int dirFd, const std::string& name, dev_t dev) {
    unsigned unsupported;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        unsupported = m_unsupported[dev];
    }
    unsigned char buffer[256];
    for (int form = 0; form < kFormCount; ++form) {
        if (unsupported & (1u << form)) continue;
        ssize_t n = getAttributeAt(dirFd, name, kForms[form], buffer, sizeof buffer);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            ++m_calls;
            if (n < 0 && (errno == EOPNOTSUPP || errno == ENOTSUP)) m_unsupported[dev] |= 1u << form;
        }
        if (n < 0) continue;
        if (auto value = parseDosAttribute(form, buffer, n)) return value;
    }
    return std::nullopt;
}

int DosAttributeReader::namesAsked(dev_t dev) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const unsigned unsupported = m_unsupported[dev];
    int n = 0;
    for (int form = 0; form < kFormCount; ++form) n += !(unsupported & (1u << form));
    return n;
}

DosAttributeReader& dosAttributes() {
    static DosAttributeReader reader;
    return reader;
}

}  // namespace vedozer::posix
