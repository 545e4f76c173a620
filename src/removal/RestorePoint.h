#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/SystemInfo.h"
#include "platform/SystemRestore.h"

namespace vedozer {

// Raised by BeginRestorePoint while another restore point is open.
struct RestorePointError : std::runtime_error {
    static constexpr int kNumber = 100001;
    RestorePointError() : std::runtime_error("You must End the previous restore point first.") {}
    int number() const { return kNumber; }
};

// Whether Windows itself offers System Restore: Windows ME, XP (5.1) and the NT versions after
// it; not 2000 (5.0) nor 5.2. The Windows backend decides its availability by this rule.
bool systemRestoreOffered(const OsVersion& version);

// The restore point that brackets a removal run, on top of the platform's System Restore.
class RestorePoints {
public:
    static constexpr size_t kMaxDescription = 63;  // what the ANSI request record holds
    // The type a removal's restore point has always been requested with (the system's number 6).
    // Windows documents 0, 1, 10, 12 and 13 for callers; a system that refuses it leaves the run
    // without a restore point, and the run says so.
    static constexpr uint32_t kRemovalType = 6;

    explicit RestorePoints(SystemRestore* restore) : m_restore(restore) {}

    bool IsSystemRestoreAvailable() const { return m_restore && m_restore->isAvailable(); }
    RestorePointKind kind() const { return m_restore ? m_restore->kind() : RestorePointKind::SystemRestore; }
    // Throws RestorePointError while one is open. A longer description is cut to kMaxDescription.
    // True when the platform accepted the request.
    bool BeginRestorePoint(const std::string& description, uint32_t type = kRemovalType);
    // Ends the open restore point (also asked after a refused begin, with sequence 0); the
    // sequence returns to 0 whatever the platform answers.
    bool EndRestorePoint();
    int64_t RestorePointSequence() const { return m_sequence; }

private:
    SystemRestore* m_restore;
    int64_t m_sequence = 0;
};

}  // namespace vedozer
