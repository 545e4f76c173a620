#include "platform/win32/Win32Services.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>

namespace vedozer {
namespace {

// The restore-point structures of the System Restore client (ANSI form).
#pragma pack(push, 1)
struct RestorePointInfoA {
    DWORD eventType;
    DWORD restorePointType;
    INT64 sequenceNumber;
    char description[64];
};
struct StateManagerStatus {
    DWORD status;
    INT64 sequenceNumber;
};
#pragma pack(pop)

constexpr DWORD kBeginSystemChange = 100;
constexpr DWORD kEndSystemChange = 101;
constexpr DWORD kCancelledOperation = 13;

using SetRestorePointA = BOOL(WINAPI*)(RestorePointInfoA*, StateManagerStatus*);
using RegistrationEntry = HRESULT(STDAPICALLTYPE*)();

bool callEntry(const std::string& libraryPath, const char* entry) {
    HMODULE library = LoadLibraryA(libraryPath.c_str());
    if (!library) return false;
    auto fn = reinterpret_cast<RegistrationEntry>(reinterpret_cast<void*>(GetProcAddress(library, entry)));
    bool ok = fn && SUCCEEDED(fn());
    FreeLibrary(library);
    return ok;
}

}  // namespace

Win32SystemRestore::Win32SystemRestore() {
    HMODULE library = LoadLibraryA("srclient.dll");
    if (!library) return;
    FARPROC fn = GetProcAddress(library, "SRSetRestorePointA");
    if (!fn) {
        FreeLibrary(library);
        return;
    }
    m_library = library;
    m_setRestorePoint = reinterpret_cast<void*>(fn);
}

Win32SystemRestore::~Win32SystemRestore() {
    if (m_library) FreeLibrary(static_cast<HMODULE>(m_library));
}

bool Win32SystemRestore::begin(const std::string& description, uint32_t type, int64_t& sequence) {
    if (!m_setRestorePoint) return false;
    RestorePointInfoA info{};
    info.eventType = kBeginSystemChange;
    info.restorePointType = type;  // as the engine asks; a type the system refuses makes begin fail
    std::strncpy(info.description, description.c_str(), sizeof info.description - 1);
    StateManagerStatus status{};
    if (!reinterpret_cast<SetRestorePointA>(m_setRestorePoint)(&info, &status)) return false;
    sequence = status.sequenceNumber;
    return true;
}

bool Win32SystemRestore::end(int64_t sequence, bool cancel) {
    if (!m_setRestorePoint) return false;
    RestorePointInfoA info{};
    info.eventType = kEndSystemChange;
    info.restorePointType = cancel ? kCancelledOperation : 0;
    info.sequenceNumber = sequence;
    StateManagerStatus status{};
    return reinterpret_cast<SetRestorePointA>(m_setRestorePoint)(&info, &status);
}

bool Win32ComServer::registerServer(const std::string& libraryPath) {
    return callEntry(libraryPath, "DllRegisterServer");
}

bool Win32ComServer::unregisterServer(const std::string& libraryPath) {
    return callEntry(libraryPath, "DllUnregisterServer");
}

bool Win32Shell::open(const std::string& path) {
    DWORD attrs = GetFileAttributesA(path.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) return false;
    const bool folder = attrs & FILE_ATTRIBUTE_DIRECTORY;
    HINSTANCE rc = folder ? ShellExecuteA(nullptr, "open", "explorer.exe", path.c_str(), nullptr, SW_SHOWNORMAL)
                          : ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(rc) > 32) return true;
    // Text files without a registered handler still open in Notepad.
    if (!folder)
        rc = ShellExecuteA(nullptr, "open", "notepad.exe", path.c_str(), nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(rc) > 32;
}

std::string Win32InstanceLock::mutexName(const std::string& name) {
    std::string out = "Local\\RozaVedozerEZO-";
    for (char c : name) out += c == '\\' ? '_' : c;
    return out;
}

Win32InstanceLock::~Win32InstanceLock() {
    for (auto& [name, handle] : m_held) {
        ReleaseMutex(handle);
        CloseHandle(handle);
    }
}

bool Win32InstanceLock::acquire(const std::string& name) {
    if (name.empty()) return false;
    if (m_held.count(name)) return true;
    HANDLE h = CreateMutexA(nullptr, TRUE, mutexName(name).c_str());
    if (!h) return false;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // Left behind by a holder that ended without releasing it: ours now.
        if (WaitForSingleObject(h, 0) == WAIT_ABANDONED) {
            m_held[name] = h;
            return true;
        }
        CloseHandle(h);
        return false;
    }
    m_held[name] = h;
    return true;
}

LocalTime Win32Clock::now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wDayOfWeek};
}

uint64_t Win32Clock::millis() { return GetTickCount64(); }

void Win32Clock::sleepMillis(uint32_t ms) { Sleep(ms); }

}  // namespace vedozer
