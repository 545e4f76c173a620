#pragma once
#include <map>
#include <string>

#include "platform/Clock.h"
#include "platform/ComServer.h"
#include "platform/InstanceLock.h"
#include "platform/Shell.h"
#include "platform/SystemRestore.h"

namespace vedozer {

// System Restore through SRSetRestorePointA, looked up in srclient.dll at run time: systems
// without it (servers, Wine) report it as not available.
class Win32SystemRestore : public SystemRestore {
public:
    Win32SystemRestore();
    ~Win32SystemRestore() override;
    bool isAvailable() override { return m_setRestorePoint != nullptr; }
    bool begin(const std::string& description, uint32_t type, int64_t& sequence) override;
    bool end(int64_t sequence, bool cancel) override;

private:
    void* m_library = nullptr;
    void* m_setRestorePoint = nullptr;
};

// Self-registration entry points of COM libraries.
class Win32ComServer : public ComServer {
public:
    bool isAvailable() override { return true; }
    bool registerServer(const std::string& libraryPath) override;
    bool unregisterServer(const std::string& libraryPath) override;
};

// Hands folders to Explorer and files to their registered handler.
class Win32Shell : public Shell {
public:
    bool open(const std::string& path) override;
};

// One running instance per session: a named mutex held until destruction.
class Win32InstanceLock : public InstanceLock {
public:
    ~Win32InstanceLock() override;
    bool acquire(const std::string& name) override;
    // The mutex name for a lock name (backslashes are not allowed there).
    static std::string mutexName(const std::string& name);

private:
    std::map<std::string, void*> m_held;
};

class Win32Clock : public Clock {
public:
    LocalTime now() override;
    uint64_t millis() override;
    void sleepMillis(uint32_t ms) override;
};

}  // namespace vedozer
