#include "platform/win32/Win32ShellFolders.h"

#include <windows.h>
#include <shlobj.h>

namespace vedozer {
namespace {

std::string withoutTrailingSlash(const char* path) {
    std::string s(path);
    while (s.size() > 3 && s.back() == '\\') s.pop_back();
    return s;
}

}  // namespace

std::string Win32ShellFolders::folderPath(int csidl) {
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE)) return "";
    return withoutTrailingSlash(path);
}

std::string Win32ShellFolders::folderLocation(int csidl) {
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) || !items) return "";
    char path[MAX_PATH] = {};
    BOOL ok = SHGetPathFromIDListA(items, path);
    CoTaskMemFree(items);
    return ok ? withoutTrailingSlash(path) : "";
}

OsVersion Win32SystemInfo::version() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    OsVersion v;
    // Without a compatibility manifest newer systems report 6.2; that is what the program always saw.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return v;
#pragma GCC diagnostic pop
    v.family = info.dwPlatformId == VER_PLATFORM_WIN32_NT        ? PlatformFamily::WindowsNT
               : info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? PlatformFamily::Windows9x
                                                                 : PlatformFamily::Win32s;
    v.major = static_cast<int>(info.dwMajorVersion);
    v.minor = static_cast<int>(info.dwMinorVersion);
    v.build = static_cast<int>(info.dwBuildNumber & 0xFFFF);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0, KEY_QUERY_VALUE,
                      &key) == ERROR_SUCCESS) {
        char name[256] = {};
        DWORD size = sizeof name - 1, type = 0;
        if (RegQueryValueExA(key, "ProductName", nullptr, &type, reinterpret_cast<BYTE*>(name), &size) ==
                ERROR_SUCCESS &&
            type == REG_SZ)
            v.productName = std::string(name, strnlen(name, size));
        RegCloseKey(key);
    }
    return v;
}

std::string Win32SystemInfo::systemFolder() {
    char path[MAX_PATH] = {};
    UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return "";
    return withoutTrailingSlash(path);
}

}  // namespace vedozer
