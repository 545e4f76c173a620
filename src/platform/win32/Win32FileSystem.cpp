#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <cstring>

namespace vedozer {
namespace {

std::string trimmed(std::string path) {
    // "C:\" keeps its backslash; other folders lose it for FindFirstFile.
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path;
}

FileInfo infoFrom(const WIN32_FIND_DATAA& data) {
    FileInfo info;
    info.name = data.cFileName;
    info.attributes = data.dwFileAttributes;
    info.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return info;
}

class HandleInput : public InputStream {
public:
    explicit HandleInput(HANDLE h) : m_h(h) {}
    ~HandleInput() override { CloseHandle(m_h); }
    long long read(char* buffer, size_t n) override {
        DWORD got = 0;
        DWORD want = n > 0x10000000 ? 0x10000000 : static_cast<DWORD>(n);
        if (!ReadFile(m_h, buffer, want, &got, nullptr)) return -1;
        return got;
    }
    bool seek(uint64_t offset) override {
        if (offset > static_cast<uint64_t>(INT64_MAX)) return false;
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(offset);
        return SetFilePointerEx(m_h, to, nullptr, FILE_BEGIN);
    }

private:
    HANDLE m_h;
};

class HandleOutput : public OutputStream {
public:
    HandleOutput(HANDLE h, std::string finalName, std::string tempName)
        : m_h(h), m_final(std::move(finalName)), m_temp(std::move(tempName)) {}
    ~HandleOutput() override {
        if (m_h == INVALID_HANDLE_VALUE) return;
        CloseHandle(m_h);
        if (!m_temp.empty()) DeleteFileA(m_temp.c_str());  // never closed: the old file stays
    }
    bool write(const char* data, size_t n) override {
        while (n > 0) {
            DWORD chunk = n > 0x10000000 ? 0x10000000 : static_cast<DWORD>(n), put = 0;
            if (!WriteFile(m_h, data, chunk, &put, nullptr) || put == 0) {
                m_failed = true;
                return false;
            }
            data += put;
            n -= put;
        }
        return true;
    }
    bool close() override {
        if (m_h == INVALID_HANDLE_VALUE) return false;
        bool ok = !m_failed && FlushFileBuffers(m_h);
        ok = CloseHandle(m_h) && ok;
        m_h = INVALID_HANDLE_VALUE;
        if (!m_temp.empty()) {
            if (ok) ok = MoveFileExA(m_temp.c_str(), m_final.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
            if (!ok) DeleteFileA(m_temp.c_str());
        }
        return ok;
    }

private:
    HANDLE m_h;
    std::string m_final, m_temp;
    bool m_failed = false;
};

}  // namespace

std::optional<FileInfo> Win32FileSystem::lookup(const std::string& path) {
    std::string p = trimmed(path);
    if (p.empty() || p.find_first_of("*?") != std::string::npos) return std::nullopt;
    if (p.size() <= 3 && p.size() >= 2 && p[1] == ':') {
        DWORD attrs = GetFileAttributesA(p.size() == 2 ? (p + "\\").c_str() : p.c_str());
        if (attrs == INVALID_FILE_ATTRIBUTES) return std::nullopt;
        FileInfo info;
        info.name = p.substr(0, 2);
        info.attributes = attrs;
        return info;
    }
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(p.c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    FindClose(h);
    return infoFrom(data);
}

bool Win32FileSystem::folderExists(const std::string& path) {
    auto info = lookup(path);
    return info && info->isDirectory();
}

std::vector<FileInfo> Win32FileSystem::list(const std::string& folder) {
    std::vector<FileInfo> out;
    std::string pattern = trimmed(folder);
    if (pattern.empty()) return out;
    if (pattern.back() != '\\') pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(pattern.c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return out;
    do {
        if (std::strcmp(data.cFileName, ".") == 0 || std::strcmp(data.cFileName, "..") == 0) continue;
        out.push_back(infoFrom(data));
    } while (FindNextFileA(h, &data));
    FindClose(h);
    return out;
}

std::unique_ptr<InputStream> Win32FileSystem::openRead(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<HandleInput>(h);
}

std::unique_ptr<OutputStream> Win32FileSystem::openWrite(const std::string& path, bool atomic) {
    std::string name = atomic ? path + ".vdz-new" : path;
    HANDLE h = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<HandleOutput>(h, path, atomic ? name : std::string());
}

bool Win32FileSystem::append(const std::string& path, const std::string& data) {
    HANDLE h = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    HandleOutput out(h, path, "");
    return out.write(data.data(), data.size()) & out.close();
}

std::optional<std::string> Win32FileSystem::readAll(const std::string& path, size_t maxBytes) {
    auto in = openRead(path);
    if (!in) return std::nullopt;
    std::string out;
    char buffer[65536];
    for (;;) {
        long long n = in->read(buffer, sizeof buffer);
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        if (out.size() + static_cast<size_t>(n) > maxBytes) return std::nullopt;
        out.append(buffer, static_cast<size_t>(n));
    }
    return out;
}

bool Win32FileSystem::copyFile(const std::string& from, const std::string& to, bool overwrite) {
    return CopyFileA(from.c_str(), to.c_str(), overwrite ? FALSE : TRUE);
}

bool Win32FileSystem::deleteFile(const std::string& path) {
    // Read-only files are removed too, as the scripting runtime's Force does.
    DWORD attrs = GetFileAttributesA(path.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(path.c_str(), attrs & ~FILE_ATTRIBUTE_READONLY);
    return DeleteFileA(path.c_str());
}

bool Win32FileSystem::renameFile(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED);
}

bool Win32FileSystem::createFolder(const std::string& path) {
    std::string p = trimmed(path);
    return CreateDirectoryA(p.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool Win32FileSystem::copyFolder(const std::string& from, const std::string& to) {
    if (!folderExists(from) || !createFolder(to)) return false;
    bool ok = true;
    for (const auto& entry : list(from)) {
        std::string src = trimmed(from) + "\\" + entry.name, dst = trimmed(to) + "\\" + entry.name;
        ok = (entry.isDirectory() ? copyFolder(src, dst) : copyFile(src, dst, true)) && ok;
    }
    return ok;
}

bool Win32FileSystem::deleteFolder(const std::string& path) {
    std::string p = trimmed(path);
    if (p.size() <= 3) return false;  // never a whole drive
    auto info = lookup(p);
    if (!info || !info->isDirectory()) return false;
    bool ok = true;
    // A reparse point (junction) is removed itself, never followed.
    if (!(info->attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        for (const auto& entry : list(p)) {
            std::string child = p + "\\" + entry.name;
            if (entry.isDirectory()) ok = deleteFolder(child) && ok;
            else ok = deleteFile(child) && ok;
        }
    }
    if (info->attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesA(p.c_str(), info->attributes & ~FILE_ATTRIBUTE_READONLY);
    return RemoveDirectoryA(p.c_str()) && ok;
}

std::vector<DriveInfo> Win32FileSystem::drives() {
    std::vector<DriveInfo> out;
    DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (1u << i))) continue;
        std::string root = std::string(1, static_cast<char>('A' + i)) + ":\\";
        DriveInfo d;
        d.root = root;
        UINT type = GetDriveTypeA(root.c_str());
        d.driveType = type == DRIVE_FIXED ? 3 : type == DRIVE_REMOTE ? 4 : type == DRIVE_CDROM ? 5 : 2;
        d.ready = GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0);
        out.push_back(d);
    }
    return out;
}

}  // namespace vedozer
