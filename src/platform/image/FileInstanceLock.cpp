#include "platform/image/FileInstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/image/IniSettingsStore.h"
#include "text/CodePage.h"

namespace vedozer {

FileInstanceLock::FileInstanceLock(std::filesystem::path dir) : m_dir(std::move(dir)) {}

FileInstanceLock::~FileInstanceLock() {
    for (auto& [name, fd] : m_held) ::close(fd);
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
    if (m_held.count(name)) return true;
    auto path = lockFile(name);
    if (path.empty()) return false;
    std::error_code ec;
    std::filesystem::create_directories(m_dir, ec);
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0) return false;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
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
}

}  // namespace vedozer
