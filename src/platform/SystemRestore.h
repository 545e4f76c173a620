#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vedozer {

// What a restore point of the backend is: a point of the system's own System Restore, or copies
// of the registry hive files an offline installation keeps in the quarantine folder.
enum class RestorePointKind { SystemRestore, HiveCopies };

struct RestorePointInfo {
    std::string name;  // what restore() takes
    std::string description;
    std::string began, ended;          // "yyyy-mm-dd hh:mm:ss"; ended empty when never closed
    std::vector<std::string> details;  // one line each: what the point holds
};

class SystemRestore {
public:
    virtual ~SystemRestore() = default;
    virtual bool isAvailable() = 0;
    virtual RestorePointKind kind() const { return RestorePointKind::SystemRestore; }
    // Opens a restore point of the given type; the sequence number identifies it for end().
    virtual bool begin(const std::string& description, uint32_t type, int64_t& sequence) = 0;
    virtual bool end(int64_t sequence, bool cancel) = 0;

    // The restore points this backend keeps itself, oldest first; empty where the system's own
    // restore tool lists them.
    virtual std::vector<RestorePointInfo> list() { return {}; }
    // The restore point the last restore() kept the replaced state in; "" when it kept none.
    virtual std::string lastKeptAside() const { return {}; }
    // Puts back what the named point holds. False, with the reason, when it cannot.
    virtual bool restore(const std::string& name, std::string& error) {
        error = "restore points are put back with the system's own System Restore tool; \"" + name +
                "\" is not kept by this program";
        return false;
    }
};

}  // namespace vedozer
