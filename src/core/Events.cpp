#include "core/Events.h"

namespace vedozer {

const char* scanStageName(ScanStage stage) {
    switch (stage) {
        case ScanStage::Cookies: return "cookies";
        case ScanStage::Memory: return "memory";
        case ScanStage::Registry: return "registry";
        case ScanStage::Files: return "files";
    }
    return "";
}

const char* detectionKindName(DetectionKind kind) {
    switch (kind) {
        case DetectionKind::Cookie: return "cookie";
        case DetectionKind::Process: return "process";
        case DetectionKind::RegistryValue: return "registry value";
        case DetectionKind::RegistryKey: return "registry key";
        case DetectionKind::File: return "file";
        case DetectionKind::Folder: return "folder";
    }
    return "";
}

}  // namespace vedozer
