#include "platform/win32/Win32Processes.h"

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

namespace vedozer {
namespace {

struct ProcessHandle {
    HANDLE h;
    ProcessHandle(DWORD access, uint32_t pid) : h(OpenProcess(access, FALSE, pid)) {}
    ~ProcessHandle() {
        if (h) CloseHandle(h);
    }
};

constexpr DWORD kQueryAccess = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;

}  // namespace

std::vector<uint32_t> Win32Processes::processIds() {
    std::vector<DWORD> ids(1024);
    for (;;) {
        DWORD bytes = 0;
        if (!EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes)) return {};
        if (bytes < ids.size() * sizeof(DWORD)) {
            ids.resize(bytes / sizeof(DWORD));
            break;
        }
        ids.resize(ids.size() * 2);  // the buffer was full: there may be more
    }
    return std::vector<uint32_t>(ids.begin(), ids.end());
}

std::vector<std::string> Win32Processes::modulePaths(uint32_t pid) {
    std::vector<std::string> out;
    ProcessHandle process(kQueryAccess, pid);
    if (!process.h) return out;
    std::vector<HMODULE> modules(256);
    DWORD needed = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!EnumProcessModules(process.h, modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)),
                                &needed))
            return out;
        if (needed <= modules.size() * sizeof(HMODULE)) break;
        modules.resize(needed / sizeof(HMODULE) + 16);
    }
    size_t count = std::min<size_t>(needed / sizeof(HMODULE), modules.size());
    for (size_t i = 0; i < count; ++i) {
        char path[MAX_PATH] = {};
        DWORD n = GetModuleFileNameExA(process.h, modules[i], path, MAX_PATH);
        if (n > 0) out.emplace_back(path, n);
    }
    return out;
}

std::string Win32Processes::mainModulePath(uint32_t pid) {
    ProcessHandle process(kQueryAccess, pid);
    if (!process.h) return "";
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameExA(process.h, nullptr, path, MAX_PATH);
    return std::string(path, n);
}

std::string Win32Processes::mainModuleBaseName(uint32_t pid) {
    ProcessHandle process(kQueryAccess, pid);
    if (!process.h) return "";
    char name[MAX_PATH] = {};
    DWORD n = GetModuleBaseNameA(process.h, nullptr, name, MAX_PATH);
    return std::string(name, n);
}

std::vector<ProcessEntry> Win32Processes::snapshot() {
    std::vector<ProcessEntry> out;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return out;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snap, &entry); more; more = Process32Next(snap, &entry))
        out.push_back({static_cast<uint32_t>(entry.th32ProcessID), entry.szExeFile});
    CloseHandle(snap);
    return out;
}

bool Win32Processes::terminate(uint32_t pid, uint32_t exitCode) {
    ProcessHandle process(PROCESS_TERMINATE, pid);
    if (!process.h) return false;
    return TerminateProcess(process.h, exitCode);
}

bool Win32Processes::enableDebugPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool ok = LookupPrivilegeValueA(nullptr, "SeDebugPrivilege", &privileges.Privileges[0].Luid) &&
              AdjustTokenPrivileges(token, FALSE, &privileges, sizeof privileges, nullptr, nullptr) &&
              GetLastError() == ERROR_SUCCESS;  // ERROR_NOT_ALL_ASSIGNED: the token lacks it
    CloseHandle(token);
    return ok;
}

}  // namespace vedozer
