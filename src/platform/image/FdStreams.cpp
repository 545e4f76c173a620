// Streams over file descriptors: what PosixFiles opens to read, write and append.
#include "platform/image/FdStreams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <random>

namespace vedozer::posix {
namespace {

// A descriptor closed when the holder goes.
struct Fd {
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int release() {
        int f = fd;
        fd = -1;
        return f;
    }
};

// Anything but a regular file (or another inode than expected) is refused with EINVAL.
bool isRegular(int fd, const struct stat* expected, struct stat* seen = nullptr) {
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
              (!expected || (st.st_dev == expected->st_dev && st.st_ino == expected->st_ino));
    if (!ok) errno = EINVAL;
    if (seen) *seen = st;
    return ok;
}

class FdInput : public InputStream {
public:
    // The size seen at opening ends the file without one more read (not for files that report no
    // size but have content).
    FdInput(int fd, const struct stat& st) : m_fd(fd) {
        if (st.st_size > 0) m_size = m_remaining = st.st_size;
    }
    ~FdInput() override { ::close(m_fd); }
    long long read(char* buffer, size_t n) override {
        if (m_remaining == 0) return 0;
        if (m_remaining > 0 && static_cast<unsigned long long>(m_remaining) < n)
            n = static_cast<size_t>(m_remaining);
        while (true) {
            ssize_t r = ::read(m_fd, buffer, n);
            if (r < 0 && errno == EINTR) continue;
            if (r > 0 && m_remaining > 0) m_remaining -= r;
            if (r == 0) m_remaining = 0;
            return r;
        }
    }
    bool seek(uint64_t offset) override {
        if (offset > static_cast<uint64_t>(INT64_MAX) || ::lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) < 0)
            return false;
        if (m_size >= 0) m_remaining = static_cast<uint64_t>(m_size) > offset ? m_size - static_cast<long long>(offset) : 0;
        return true;
    }

private:
    int m_fd;
    long long m_size = -1;       // the size at opening; -1 unknown
    long long m_remaining = -1;  // bytes left by the size at opening; -1 unknown
};

class FdOutput : public OutputStream {
public:
    // dirFd (owned) and tempName are set for an atomic write: the file takes finalName on close().
    FdOutput(int fd, int dirFd, std::string finalName, std::string tempName, bool noReplace)
        : m_fd(fd),
          m_dirFd(dirFd),
          m_final(std::move(finalName)),
          m_temp(std::move(tempName)),
          m_noReplace(noReplace) {}
    ~FdOutput() override {
        if (m_fd >= 0) {
            ::close(m_fd);
            if (!m_temp.empty()) ::unlinkat(m_dirFd, m_temp.c_str(), 0);
        }
        if (m_dirFd >= 0) ::close(m_dirFd);
    }
    bool write(const char* data, size_t n) override {
        if (m_fd < 0) return false;
        while (n > 0) {
            ssize_t w = ::write(m_fd, data, n);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) {
                m_failed = true;
                return false;
            }
            data += w;
            n -= static_cast<size_t>(w);
        }
        return true;
    }
    bool close() override {
        if (m_fd < 0) return false;
        bool ok = !m_failed && ::fsync(m_fd) == 0;
        ok = (::close(m_fd) == 0) && ok;
        m_fd = -1;
        if (!m_temp.empty()) {
            if (ok) ok = moveIntoPlace();
            if (!ok)
                ::unlinkat(m_dirFd, m_temp.c_str(), 0);
            else
                ::fsync(m_dirFd);
        }
        return ok;
    }

private:
    bool moveIntoPlace() {
        if (!m_noReplace) return ::renameat(m_dirFd, m_temp.c_str(), m_dirFd, m_final.c_str()) == 0;
        if (::renameat2(m_dirFd, m_temp.c_str(), m_dirFd, m_final.c_str(), RENAME_NOREPLACE) == 0)
            return true;
        if (errno != EINVAL && errno != ENOSYS) return false;
        // A file system without the flag: look, then rename (a file appearing between is replaced).
        struct stat st {};
        if (::fstatat(m_dirFd, m_final.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return false;
        return ::renameat(m_dirFd, m_temp.c_str(), m_dirFd, m_final.c_str()) == 0;
    }

    int m_fd;
    int m_dirFd;
    std::string m_final, m_temp;
    bool m_noReplace;
    bool m_failed = false;
};

std::string tempName() {
    static std::mt19937_64 rng{std::random_device{}()};
    return ".vedozer-tmp-" + std::to_string(::getpid()) + "-" + std::to_string(rng() % 1000000000);
}

// Anything already under the name must be a regular file before it is opened for writing.
bool writableTarget(int dirFd, const std::string& name, bool follow) {
    struct stat st {};
    int flags = follow ? 0 : AT_SYMLINK_NOFOLLOW;
    if (::fstatat(dirFd, name.c_str(), &st, flags) != 0) return errno == ENOENT;
    return S_ISREG(st.st_mode);
}

}  // namespace

std::unique_ptr<OutputStream> openWriteIn(int dirFd, const std::string& name, bool atomic, bool follow,
                                          bool noReplace) {
    if (!writableTarget(dirFd, name, follow)) return nullptr;
    if (!atomic) {
        int fd =
            ::openat(dirFd, name.c_str(),
                     O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC | (follow ? 0 : O_NOFOLLOW), 0644);
        if (fd < 0) return nullptr;
        if (!isRegular(fd, nullptr)) {
            ::close(fd);
            return nullptr;
        }
        return std::make_unique<FdOutput>(fd, -1, name, "", false);
    }
    Fd dir(::fcntl(dirFd, F_DUPFD_CLOEXEC, 0));
    if (dir.fd < 0) return nullptr;
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string temp = tempName();
        int fd = ::openat(dir.fd, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0) return std::make_unique<FdOutput>(fd, dir.release(), name, temp, noReplace);
        if (errno != EEXIST) break;
    }
    return nullptr;
}

bool appendIn(int dirFd, const std::string& name, const std::string& data, bool follow) {
    if (!writableTarget(dirFd, name, follow)) return false;
    int fd =
        ::openat(dirFd, name.c_str(),
                 O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC | (follow ? 0 : O_NOFOLLOW), 0644);
    if (fd < 0) return false;
    if (!isRegular(fd, nullptr)) {
        ::close(fd);
        return false;
    }
    FdOutput out(fd, -1, name, "", false);
    bool ok = out.write(data.data(), data.size());
    return out.close() && ok;
}

std::unique_ptr<InputStream> openReadIn(int dirFd, const std::string& name, const struct stat* expected,
                                        bool follow) {
    int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | (follow ? 0 : O_NOFOLLOW));
    if (fd < 0) return nullptr;
    struct stat st {};
    if (!isRegular(fd, expected, &st)) {
        ::close(fd);
        errno = EINVAL;
        return nullptr;
    }
    return std::make_unique<FdInput>(fd, st);
}

}  // namespace vedozer::posix
