#include "removal/RestorePoint.h"

namespace vedozer {

bool systemRestoreOffered(const OsVersion& v) {
    switch (v.family) {
        case PlatformFamily::Windows9x: return v.minor == 90;
        case PlatformFamily::WindowsNT: return v.major > 5 || (v.major == 5 && v.minor == 1);
        default: return false;
    }
}

bool RestorePoints::BeginRestorePoint(const std::string& description, uint32_t type) {
    if (m_sequence != 0) throw RestorePointError();
    if (!m_restore) return false;
    int64_t sequence = 0;
    if (!m_restore->begin(description.substr(0, kMaxDescription), type, sequence)) return false;
    m_sequence = sequence;
    return true;
}

bool RestorePoints::EndRestorePoint() {
    bool ok = m_restore && m_restore->end(m_sequence, false);
    m_sequence = 0;
    return ok;
}

}  // namespace vedozer
