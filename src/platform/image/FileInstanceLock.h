#pragma once
#include <filesystem>
#include <map>
#include <string>

#include "platform/InstanceLock.h"

namespace vedozer {

// One running instance per user: an exclusive flock on <dir>/<name>.lock, held until this
// object is destroyed (or the process ends, when the kernel drops it). The file itself
// stays; it only carries the holder's process id for people looking at it.
class FileInstanceLock : public InstanceLock {
public:
    // dir defaults to $XDG_RUNTIME_DIR, else the per-user configuration folder.
    explicit FileInstanceLock(std::filesystem::path dir = defaultLockDir());
    ~FileInstanceLock() override;
    FileInstanceLock(const FileInstanceLock&) = delete;
    FileInstanceLock& operator=(const FileInstanceLock&) = delete;

    static std::filesystem::path defaultLockDir();

    // False when another holder has the lock, or the lock file cannot be created. Acquiring
    // a name this object already holds succeeds again.
    bool acquire(const std::string& name) override;
    void release(const std::string& name);

    // Empty when the name cannot be used as a file name (empty, or holds "/" or a NUL).
    std::filesystem::path lockFile(const std::string& name) const;

private:
    std::filesystem::path m_dir;
    std::map<std::string, int> m_held;  // name -> descriptor holding the lock
};

}  // namespace vedozer
