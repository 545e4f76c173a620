#pragma once
#include <filesystem>
#include <map>
#include <string>

#include "platform/InstanceLock.h"

namespace vedozer {

// One running instance per folder of data: an exclusive flock on <dir>/<name>.lock, held until
// this object is destroyed (or the process ends, when the kernel drops it). The file itself
// stays; it only carries the holder's process id for people looking at it.
//
// With a guarded folder (the system drive of an offline installation), the folder itself is
// flock'ed as well: two instances with different data folders still never change the same
// installation's hives at once (each rewrites a hive whole, so one would undo the other).
class FileInstanceLock : public InstanceLock {
public:
    // dir defaults to $XDG_RUNTIME_DIR, else the per-user configuration folder.
    explicit FileInstanceLock(std::filesystem::path dir = defaultLockDir(),
                              std::filesystem::path guardedFolder = {});
    ~FileInstanceLock() override;
    FileInstanceLock(const FileInstanceLock&) = delete;
    FileInstanceLock& operator=(const FileInstanceLock&) = delete;

    static std::filesystem::path defaultLockDir();

    // False when another holder has the lock, or the lock file cannot be created. Acquiring
    // a name this object already holds succeeds again.
    bool acquire(const std::string& name) override;
    void release(const std::string& name);
    std::string problem() const override { return m_problem; }

    // Empty when the name cannot be used as a file name (empty, or holds "/" or a NUL).
    std::filesystem::path lockFile(const std::string& name) const;

private:
    bool lockGuardedFolder();

    std::filesystem::path m_dir;
    std::filesystem::path m_guarded;
    int m_guardedFd = -1;
    std::map<std::string, int> m_held;  // name -> descriptor holding the lock
    std::string m_problem;
};

}  // namespace vedozer
