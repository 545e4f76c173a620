#include "platform/image/PosixFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace vedozer::posix {
namespace {

std::string parentOf(const std::string& p) {
    auto slash = p.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return p.substr(0, slash);
}

std::optional<uint32_t> xattrDosAttributes(const std::string& p) {
    unsigned char buf[256];
    ssize_t n = lgetxattr(p.c_str(), "system.ntfs_attrib_be", buf, sizeof buf);
    if (n == 4) return (uint32_t(buf[0]) << 24) | (uint32_t(buf[1]) << 16) | (uint32_t(buf[2]) << 8) | buf[3];
    n = lgetxattr(p.c_str(), "system.ntfs_attrib", buf, sizeof buf);
    if (n == 4) return (uint32_t(buf[3]) << 24) | (uint32_t(buf[2]) << 16) | (uint32_t(buf[1]) << 8) | buf[0];
    n = lgetxattr(p.c_str(), "user.DOSATTRIB", buf, sizeof buf - 1);
    if (n > 2 && buf[0] == '0' && (buf[1] == 'x' || buf[1] == 'X')) {
        buf[n] = 0;
        return static_cast<uint32_t>(std::strtoul(reinterpret_cast<char*>(buf) + 2, nullptr, 16));
    }
    return std::nullopt;
}

class FdInput : public InputStream {
public:
    explicit FdInput(int fd) : m_fd(fd) {}
    ~FdInput() override { ::close(m_fd); }
    long long read(char* buffer, size_t n) override {
        while (true) {
            ssize_t r = ::read(m_fd, buffer, n);
            if (r < 0 && errno == EINTR) continue;
            return r;
        }
    }
    bool seek(uint64_t offset) override {
        return offset <= static_cast<uint64_t>(INT64_MAX) && ::lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) >= 0;
    }

private:
    int m_fd;
};

class FdOutput : public OutputStream {
public:
    FdOutput(int fd, std::string finalPath, std::string tempPath)
        : m_fd(fd), m_final(std::move(finalPath)), m_temp(std::move(tempPath)) {}
    ~FdOutput() override {
        if (m_fd >= 0) {
            ::close(m_fd);
            if (!m_temp.empty()) ::unlink(m_temp.c_str());
        }
    }
    bool write(const char* data, size_t n) override {
        if (m_fd < 0) return false;
        while (n > 0) {
            ssize_t w = ::write(m_fd, data, n);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) {
                m_failed = true;
                return false;
            }
            data += w;
            n -= static_cast<size_t>(w);
        }
        return true;
    }
    bool close() override {
        if (m_fd < 0) return false;
        bool ok = !m_failed && ::fsync(m_fd) == 0;
        ok = (::close(m_fd) == 0) && ok;
        m_fd = -1;
        if (!m_temp.empty()) {
            if (ok) ok = ::rename(m_temp.c_str(), m_final.c_str()) == 0;
            if (!ok) ::unlink(m_temp.c_str());
            else fsyncFolder(parentOf(m_final));
        }
        return ok;
    }

private:
    int m_fd;
    std::string m_final, m_temp;
    bool m_failed = false;
};

std::string tempNameFor(const std::string& finalPath) {
    static std::mt19937_64 rng{std::random_device{}()};
    return parentOf(finalPath) + "/.vedozer-tmp-" + std::to_string(::getpid()) + "-" + std::to_string(rng() % 1000000000);
}

}  // namespace

std::optional<FileInfo> stat(const std::string& hostPath) {
    struct stat st {};
    if (::lstat(hostPath.c_str(), &st) != 0) return std::nullopt;
    if (S_ISLNK(st.st_mode)) {
        if (::stat(hostPath.c_str(), &st) != 0) return std::nullopt;
    }
    FileInfo info;
    auto slash = hostPath.find_last_of('/');
    info.name = slash == std::string::npos ? hostPath : hostPath.substr(slash + 1);
    info.size = S_ISREG(st.st_mode) ? static_cast<uint64_t>(st.st_size) : 0;
    uint32_t attrs = 0;
    if (auto dos = xattrDosAttributes(hostPath)) attrs = *dos & (kAttrReadOnly | kAttrHidden | kAttrSystem);
    if (S_ISDIR(st.st_mode)) attrs |= kAttrDirectory;
    else if (!(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH))) attrs |= kAttrReadOnly;
    info.attributes = attrs;
    return info;
}

bool setDosAttributes(const std::string& hostPath, uint32_t attributes) {
    char buf[32];
    int n = std::snprintf(buf, sizeof buf, "0x%x", attributes);
    return ::lsetxattr(hostPath.c_str(), "user.DOSATTRIB", buf, static_cast<size_t>(n) + 1, 0) == 0;
}

std::unique_ptr<InputStream> openRead(const std::string& hostPath) {
    int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<FdInput>(fd);
}

std::unique_ptr<OutputStream> openWrite(const std::string& hostPath, bool atomic) {
    std::string temp = atomic ? tempNameFor(hostPath) : std::string();
    const std::string& target = atomic ? temp : hostPath;
    int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | (atomic ? O_EXCL : 0), 0644);
    if (fd < 0) return nullptr;
    return std::make_unique<FdOutput>(fd, hostPath, temp);
}

bool append(const std::string& hostPath, const std::string& data) {
    int fd = ::open(hostPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    FdOutput out(fd, hostPath, "");
    bool ok = out.write(data.data(), data.size());
    return out.close() && ok;
}

std::optional<std::string> readAll(const std::string& hostPath, size_t maxBytes) {
    auto in = openRead(hostPath);
    if (!in) return std::nullopt;
    std::string out;
    char buf[65536];
    while (true) {
        long long n = in->read(buf, sizeof buf);
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        if (out.size() + static_cast<size_t>(n) > maxBytes) return std::nullopt;
        out.append(buf, static_cast<size_t>(n));
    }
    return out;
}

bool copyFile(const std::string& from, const std::string& to, bool overwrite) {
    struct stat st {};
    if (!overwrite && ::lstat(to.c_str(), &st) == 0) return false;
    auto in = openRead(from);
    if (!in) return false;
    auto out = openWrite(to, true);
    if (!out) return false;
    char buf[65536];
    while (true) {
        long long n = in->read(buf, sizeof buf);
        if (n < 0) return false;
        if (n == 0) break;
        if (!out->write(buf, static_cast<size_t>(n))) return false;
    }
    if (!overwrite && ::lstat(to.c_str(), &st) == 0) return false;  // appeared meanwhile
    return out->close();
}

bool deleteFile(const std::string& hostPath) {
    struct stat st {};
    if (::lstat(hostPath.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    return ::unlink(hostPath.c_str()) == 0;
}

bool rename(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) return false;
    fsyncFolder(parentOf(to));
    return true;
}

bool createFolder(const std::string& hostPath) {
    return ::mkdir(hostPath.c_str(), 0755) == 0 || errno == EEXIST;
}

bool deleteFolder(const std::string& hostPath) {
    struct stat st {};
    if (::lstat(hostPath.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    bool ok = true;
    for (const auto& name : listNames(hostPath)) {
        std::string child = hostPath + "/" + name;
        struct stat cst {};
        if (::lstat(child.c_str(), &cst) != 0) continue;
        if (S_ISDIR(cst.st_mode)) ok = deleteFolder(child) && ok;
        else ok = (::unlink(child.c_str()) == 0) && ok;
    }
    return (::rmdir(hostPath.c_str()) == 0) && ok;
}

std::vector<std::string> listNames(const std::string& hostPath) {
    std::vector<std::string> names;
    DIR* d = ::opendir(hostPath.c_str());
    if (!d) return names;
    while (dirent* e = ::readdir(d)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        names.emplace_back(e->d_name);
    }
    ::closedir(d);
    return names;
}

bool fsyncFolder(const std::string& hostPath) {
    int fd = ::open(hostPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

}  // namespace vedozer::posix
