#include "platform/image/FileInstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/image/IniSettingsStore.h"
#include "text/CodePage.h"

namespace vedozer {

FileInstanceLock::FileInstanceLock(std::filesystem::path dir, std::filesystem::path guardedFolder)
    : m_dir(std::move(dir)), m_guarded(std::move(guardedFolder)) {}

FileInstanceLock::~FileInstanceLock() {
    for (auto& [name, fd] : m_held) ::close(fd);
    if (m_guardedFd >= 0) ::close(m_guardedFd);
}

namespace {

// flock that survives signals; errno is kept for the caller.
int lockExclusive(int fd) {
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    return rc;
}

}  // namespace

bool FileInstanceLock::lockGuardedFolder() {
    if (m_guarded.empty() || m_guardedFd >= 0) return true;
    int fd = ::open(m_guarded.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        m_problem = "cannot open " + m_guarded.string() + " to lock it: " + std::strerror(errno);
        return false;
    }
    if (lockExclusive(fd) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) {
            m_problem = "another instance of the program is working on the Windows installation at " +
                        m_guarded.string();
            return false;
        }
        // A file system without locks (some network mounts): the data folder's lock still holds.
        return true;
    }
    m_guardedFd = fd;
    return true;
}

std::filesystem::path FileInstanceLock::defaultLockDir() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') return runtime;
    return IniSettingsStore::defaultUserConfigDir();
}

std::filesystem::path FileInstanceLock::lockFile(const std::string& name) const {
    if (m_dir.empty() || name.empty() || name.find('/') != std::string::npos ||
        name.find('\0') != std::string::npos)
        return {};
    return m_dir / (text::cp1252ToUtf8(name) + ".lock");
}

bool FileInstanceLock::acquire(const std::string& name) {
    m_problem.clear();
    if (m_held.count(name)) return true;
    auto path = lockFile(name);
    if (path.empty()) {
        m_problem = "no lock file can be named after \"" + name + "\"";
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(m_dir, ec);
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0) {
        m_problem = "cannot create the lock file " + path.string() + ": " + std::strerror(errno);
        return false;
    }
    if (lockExclusive(fd) != 0) {
        m_problem = "another instance of the program is using " + m_dir.string();
        ::close(fd);
        return false;
    }
    if (!lockGuardedFolder()) {
        ::close(fd);
        return false;
    }
    std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) == 0) {
        ssize_t written = ::pwrite(fd, pid.data(), pid.size(), 0);
        (void)written;  // the id is informational only
    }
    m_held.emplace(name, fd);
    return true;
}

void FileInstanceLock::release(const std::string& name) {
    auto it = m_held.find(name);
    if (it == m_held.end()) return;
    ::close(it->second);
    m_held.erase(it);
    if (m_held.empty() && m_guardedFd >= 0) {
        ::close(m_guardedFd);
        m_guardedFd = -1;
    }
}

}  // namespace vedozer
