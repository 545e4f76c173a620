#include "Win32TestSupport.h"

#include <psapi.h>

#include <stdexcept>
#include <thread>

namespace vedozer::test {
namespace {

std::string readPipe(HANDLE h) {
    std::string out;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
    return out;
}

}  // namespace

WinTempDir::WinTempDir() {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string p = std::string(base) + "vdz-" + std::to_string(GetCurrentProcessId()) + "-" +
                        std::to_string(++counter);
        if (CreateDirectoryA(p.c_str(), nullptr)) {
            m_path = p;
            return;
        }
    }
    throw std::runtime_error("no temporary folder");
}

WinTempDir::~WinTempDir() { removeTree(m_path); }

std::string WinTempDir::write(const std::string& relative, const std::string& content) const {
    std::string p = m_path + "\\" + relative;
    writeFile(p, content);
    return p;
}

void makeFolders(const std::string& folder) {
    for (size_t i = 3; i <= folder.size(); ++i)
        if (i == folder.size() || folder[i] == '\\') CreateDirectoryA(folder.substr(0, i).c_str(), nullptr);
}

void writeFile(const std::string& path, const std::string& content) {
    makeFolders(path.substr(0, path.rfind('\\')));
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + path);
    DWORD put = 0;
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &put, nullptr);
    CloseHandle(h);
}

bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void removeTree(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string child = folder + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) removeTree(child);
            else DeleteFileA(child.c_str());
        } while (FindNextFileA(h, &data));
        FindClose(h);
    }
    RemoveDirectoryA(folder.c_str());
}

RunResult runCommand(const std::string& commandLine) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    CreatePipe(&outRead, &outWrite, &sa, 0);
    CreatePipe(&errRead, &errWrite, &sa, 0);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = outWrite;
    si.hStdError = errWrite;
    PROCESS_INFORMATION pi{};
    std::string line = commandLine;
    RunResult result;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(outRead), CloseHandle(outWrite), CloseHandle(errRead), CloseHandle(errWrite);
        result.err = "cannot start: " + commandLine;
        return result;
    }
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    std::string err;
    std::thread errReader([&] { err = readPipe(errRead); });
    result.out = readPipe(outRead);
    errReader.join();
    result.err = err;
    if (WaitForSingleObject(pi.hProcess, 120000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    GetExitCodeProcess(pi.hProcess, &result.exitCode);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    CloseHandle(outRead);
    CloseHandle(errRead);
    return result;
}

StartedProgram::StartedProgram(const std::string& exePath) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string line = "\"" + exePath + "\"";
    if (!CreateProcessA(exePath.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_info))
        throw std::runtime_error("cannot start " + exePath);
    // Until the loader has set the process up, its modules cannot be listed.
    for (int i = 0; i < 100; ++i) {
        char path[MAX_PATH];
        if (GetModuleFileNameExA(m_info.hProcess, nullptr, path, MAX_PATH) > 0) break;
        Sleep(50);
    }
}

StartedProgram::~StartedProgram() {
    if (running()) TerminateProcess(m_info.hProcess, 1);
    WaitForSingleObject(m_info.hProcess, 5000);
    CloseHandle(m_info.hProcess);
    CloseHandle(m_info.hThread);
}

bool StartedProgram::running() const { return WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT; }

bool StartedProgram::waitEnded(DWORD ms) const { return WaitForSingleObject(m_info.hProcess, ms) == WAIT_OBJECT_0; }

std::string besideTestProgram(const std::string& name) {
    char own[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, own, MAX_PATH);
    std::string p(own, n);
    return p.substr(0, p.rfind('\\') + 1) + name;
}

}  // namespace vedozer::test
