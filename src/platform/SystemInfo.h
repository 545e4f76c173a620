#pragma once
#include <string>

namespace vedozer {

enum class PlatformFamily { Win32s = 0, Windows9x = 1, WindowsNT = 2 };

struct OsVersion {
    PlatformFamily family = PlatformFamily::WindowsNT;
    int major = 6;
    int minor = 1;
    int build = 0;
    std::string productName;
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    virtual OsVersion version() = 0;
    // The Windows system folder without trailing backslash ("C:\Windows\system32").
    virtual std::string systemFolder() = 0;
};

}  // namespace vedozer
