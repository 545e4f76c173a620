#pragma once
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <string>

namespace vedozer::test {

// Makes a host file or folder immutable (chattr +i) for the life of the object, so deleting or
// changing it fails for real. held() is false where the file system or the user cannot do that.
class Immutable {
public:
    explicit Immutable(std::string path) : m_path(std::move(path)) { m_held = set(true); }
    ~Immutable() {
        if (m_held) set(false);
    }
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;
    bool held() const { return m_held; }

private:
    bool set(bool on) {
        int fd = ::open(m_path.c_str(), O_RDONLY | O_NONBLOCK);
        if (fd < 0) return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (ok) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return ok;
    }

    std::string m_path;
    bool m_held = false;
};

}  // namespace vedozer::test
