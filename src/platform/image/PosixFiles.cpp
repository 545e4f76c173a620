#include "platform/image/PosixFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/image/DosAttributes.h"
#include "platform/image/FdStreams.h"

namespace vedozer::posix {
namespace {

std::string parentOf(const std::string& p) {
    auto slash = p.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return p.substr(0, slash);
}

std::string baseOf(const std::string& p) {
    auto slash = p.find_last_of('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

// A descriptor closed when the holder goes.
struct Fd {
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int release() {
        int f = fd;
        fd = -1;
        return f;
    }
};

bool copyIn(int fromDir, const std::string& fromName, int toDir, const std::string& toName, bool overwrite,
            bool follow) {
    struct stat st {};
    if (!overwrite && ::fstatat(toDir, toName.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return false;
    std::unique_ptr<InputStream> in;
    if (follow) {
        in = openRead(fromName);
    } else {
        in = openReadAt(fromDir, fromName);
    }
    if (!in) return false;
    auto out = openWriteIn(toDir, toName, true, follow, !overwrite);
    if (!out) return false;
    char buf[65536];
    while (true) {
        long long n = in->read(buf, sizeof buf);
        if (n < 0) return false;
        if (n == 0) break;
        if (!out->write(buf, static_cast<size_t>(n))) return false;
    }
    return out->close();
}

// Runs f with the folder above a host path open and the path's last name.
template <class F>
auto inParentOf(const std::string& hostPath, F f) -> decltype(f(0, std::string())) {
    Fd dir(openFolderAt(AT_FDCWD, parentOf(hostPath), false));
    if (dir.fd < 0) return {};
    return f(dir.fd, baseOf(hostPath));
}

}  // namespace

FileInfo infoFromStat(const std::string& name, const struct stat& st, std::optional<uint32_t> dos) {
    FileInfo info;
    info.name = name;
    info.size = S_ISREG(st.st_mode) ? static_cast<uint64_t>(st.st_size) : 0;
    uint32_t attrs = dos ? *dos & (kAttrReadOnly | kAttrHidden | kAttrSystem) : 0;
    if (S_ISDIR(st.st_mode))
        attrs |= kAttrDirectory;
    else if (!(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)))
        attrs |= kAttrReadOnly;
    info.attributes = attrs;
    return info;
}

std::optional<FileInfo> statAt(int dirFd, const std::string& name, struct stat* raw) {
    struct stat st {};
    if (::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
    if (raw) *raw = st;
    std::optional<uint32_t> dos;
    if (!S_ISLNK(st.st_mode)) dos = dosAttributes().read(dirFd, name, st.st_dev);
    return infoFromStat(dirFd == AT_FDCWD ? baseOf(name) : name, st, dos);
}

std::optional<FileInfo> stat(const std::string& hostPath) {
    struct stat st {};
    if (::lstat(hostPath.c_str(), &st) != 0) return std::nullopt;
    if (S_ISLNK(st.st_mode) && ::stat(hostPath.c_str(), &st) != 0) return std::nullopt;
    return infoFromStat(baseOf(hostPath), st, dosAttributes().read(AT_FDCWD, hostPath, st.st_dev));
}

bool setDosAttributes(const std::string& hostPath, uint32_t attributes) {
    char buf[32];
    int n = std::snprintf(buf, sizeof buf, "0x%x", attributes);
    return ::lsetxattr(hostPath.c_str(), "user.DOSATTRIB", buf, static_cast<size_t>(n) + 1, 0) == 0;
}

std::unique_ptr<InputStream> openReadAt(int dirFd, const std::string& name, const struct stat* expected) {
    return openReadIn(dirFd, name, expected, false);
}

std::unique_ptr<InputStream> openRead(const std::string& hostPath) {
    return openReadIn(AT_FDCWD, hostPath, nullptr, true);
}

std::unique_ptr<OutputStream> openWriteAt(int dirFd, const std::string& name, bool atomic) {
    return openWriteIn(dirFd, name, atomic, false);
}

std::unique_ptr<OutputStream> openWrite(const std::string& hostPath, bool atomic) {
    return inParentOf(hostPath,
                      [&](int dir, const std::string& name) { return openWriteIn(dir, name, atomic, true); });
}

bool appendAt(int dirFd, const std::string& name, const std::string& data) {
    return appendIn(dirFd, name, data, false);
}

bool append(const std::string& hostPath, const std::string& data) {
    return inParentOf(hostPath,
                      [&](int dir, const std::string& name) { return appendIn(dir, name, data, true); });
}

std::optional<std::string> readAll(InputStream& in, size_t maxBytes) {
    std::string out;
    char buf[65536];
    while (true) {
        long long n = in.read(buf, sizeof buf);
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        if (out.size() + static_cast<size_t>(n) > maxBytes) return std::nullopt;
        out.append(buf, static_cast<size_t>(n));
    }
    return out;
}

std::optional<std::string> readAll(const std::string& hostPath, size_t maxBytes) {
    auto in = openRead(hostPath);
    if (!in) return std::nullopt;
    return readAll(*in, maxBytes);
}

bool copyFileAt(int fromDir, const std::string& fromName, int toDir, const std::string& toName,
                bool overwrite) {
    return copyIn(fromDir, fromName, toDir, toName, overwrite, false);
}

bool copyFile(const std::string& from, const std::string& to, bool overwrite) {
    return inParentOf(to, [&](int dir, const std::string& name) {
        return copyIn(AT_FDCWD, from, dir, name, overwrite, true);
    });
}

bool deleteFileAt(int dirFd, const std::string& name) {
    struct stat st {};
    if (::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(st.st_mode)) return false;
    return ::unlinkat(dirFd, name.c_str(), 0) == 0;
}

bool deleteFile(const std::string& hostPath) { return deleteFileAt(AT_FDCWD, hostPath); }

bool renameAt(int fromDir, const std::string& fromName, int toDir, const std::string& toName) {
    if (::renameat(fromDir, fromName.c_str(), toDir, toName.c_str()) != 0) return false;
    ::fsync(toDir);
    return true;
}

bool rename(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) return false;
    fsyncFolder(parentOf(to));
    return true;
}

bool createFolderAt(int dirFd, const std::string& name) {
    if (::mkdirat(dirFd, name.c_str(), 0755) == 0) return true;
    struct stat st {};
    return errno == EEXIST && ::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISDIR(st.st_mode);
}

bool createFolder(const std::string& hostPath) {
    return ::mkdir(hostPath.c_str(), 0755) == 0 || errno == EEXIST;
}

namespace {

// Empties the open folder; true when everything in it went.
bool deleteContents(int folderFd) {
    bool ok = true;
    for (const auto& entry : listEntries(folderFd)) {
        const char* child = entry.name.c_str();
        bool isFolder = entry.type == DT_DIR;
        if (entry.type == DT_UNKNOWN) {
            struct stat st {};
            if (::fstatat(folderFd, child, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
            isFolder = S_ISDIR(st.st_mode);
        }
        if (isFolder) {
            Fd sub(openFolderAt(folderFd, entry.name, true));
            if (sub.fd >= 0) {
                ok = deleteContents(sub.fd) && ok;
                ok = (::unlinkat(folderFd, child, AT_REMOVEDIR) == 0) && ok;
                continue;
            }
            // Anything but a folder that became a link (or a file) since it was listed stays.
            if (errno != ELOOP && errno != ENOTDIR) {
                ok = false;
                continue;
            }
        }
        ok = (::unlinkat(folderFd, child, 0) == 0) && ok;
    }
    return ok;
}

}  // namespace

bool deleteFolderAt(int dirFd, const std::string& name) {
    Fd folder(openFolderAt(dirFd, name, true));
    if (folder.fd < 0) return false;
    bool ok = deleteContents(folder.fd);
    return (::unlinkat(dirFd, name.c_str(), AT_REMOVEDIR) == 0) && ok;
}

bool deleteFolder(const std::string& hostPath) {
    return inParentOf(hostPath, [&](int dir, const std::string& name) { return deleteFolderAt(dir, name); });
}

std::vector<DirEntryName> listEntries(int dirFd) {
    std::vector<DirEntryName> names;
    // Read straight from the folder's own descriptor (no duplicate, no directory stream), from the start.
    if (::lseek(dirFd, 0, SEEK_SET) != 0) return names;
    alignas(8) char buffer[32768];
    while (true) {
        const ssize_t n = ::getdents64(dirFd, buffer, sizeof buffer);
        if (n <= 0) break;
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const struct dirent64*>(buffer + at);
            at += e->d_reclen;
            if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
            names.push_back({e->d_name, e->d_type});
        }
    }
    return names;
}

std::vector<std::string> listNames(const std::string& hostPath) {
    std::vector<std::string> names;
    Fd dir(openFolderAt(AT_FDCWD, hostPath, false));
    if (dir.fd < 0) return names;
    for (auto& e : listEntries(dir.fd)) names.push_back(std::move(e.name));
    return names;
}

int openFolderAt(int dirFd, const std::string& name, bool noFollow) {
    return ::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (noFollow ? O_NOFOLLOW : 0));
}

bool fsyncFolder(const std::string& hostPath) {
    Fd dir(openFolderAt(AT_FDCWD, hostPath, false));
    return dir.fd >= 0 && ::fsync(dir.fd) == 0;
}

}  // namespace vedozer::posix
