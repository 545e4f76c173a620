#pragma once
#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace vedozer::test {

// Forwards to a real file system until a given number of changing operations (creating a file,
// each write, each close, rename, delete, append, copy) have happened; from then on the program
// is "dead": no further change reaches the disk. Enumerating the limit from 0 up visits every
// point at which a crash can interrupt a sequence of file changes.
class CrashAfterFileSystem : public FileSystem {
public:
    CrashAfterFileSystem(FileSystem& inner, long long allowedChanges) : m_inner(inner), m_left(allowedChanges) {}

    bool dead() const { return m_left < 0; }
    long long changesMade() const { return m_made; }

    std::optional<FileInfo> lookup(const std::string& p) override { return m_inner.lookup(p); }
    bool folderExists(const std::string& p) override { return m_inner.folderExists(p); }
    std::vector<FileInfo> list(const std::string& f) override { return m_inner.list(f); }
    std::unique_ptr<InputStream> openRead(const std::string& p) override { return m_inner.openRead(p); }
    std::optional<std::string> readAll(const std::string& p, size_t max) override { return m_inner.readAll(p, max); }
    std::vector<DriveInfo> drives() override { return m_inner.drives(); }
    std::string displayPath(const std::string& p) override { return m_inner.displayPath(p); }

    std::unique_ptr<OutputStream> openWrite(const std::string& p, bool atomic) override {
        if (!step()) return nullptr;
        auto inner = m_inner.openWrite(p, atomic);
        if (!inner) return nullptr;
        return std::make_unique<Stream>(*this, std::move(inner));
    }
    bool append(const std::string& p, const std::string& d) override { return step() && m_inner.append(p, d); }
    bool copyFile(const std::string& a, const std::string& b, bool o) override { return step() && m_inner.copyFile(a, b, o); }
    bool deleteFile(const std::string& p) override { return step() && m_inner.deleteFile(p); }
    bool renameFile(const std::string& a, const std::string& b) override { return step() && m_inner.renameFile(a, b); }
    bool createFolder(const std::string& p) override { return step() && m_inner.createFolder(p); }
    bool copyFolder(const std::string& a, const std::string& b) override { return step() && m_inner.copyFolder(a, b); }
    bool deleteFolder(const std::string& p) override { return step() && m_inner.deleteFolder(p); }

private:
    class Stream : public OutputStream {
    public:
        Stream(CrashAfterFileSystem& fs, std::unique_ptr<OutputStream> inner) : m_fs(fs), m_inner(std::move(inner)) {}
        bool write(const char* data, size_t n) override { return m_fs.step() && m_inner->write(data, n); }
        // A close after the crash never happens: an atomic write then stays invisible.
        bool close() override { return m_fs.step() && m_inner->close(); }

    private:
        CrashAfterFileSystem& m_fs;
        std::unique_ptr<OutputStream> m_inner;
    };

    bool step() {
        if (m_left <= 0) {
            m_left = -1;
            return false;
        }
        --m_left;
        ++m_made;
        return true;
    }

    FileSystem& m_inner;
    long long m_left;
    long long m_made = 0;
};

// Forwards to a real file system, but the changing operation number `failAt` (0-based, counted
// as CrashAfterFileSystem counts) fails once; everything before and after it works.
class FailOnceFileSystem : public FileSystem {
public:
    FailOnceFileSystem(FileSystem& inner, long long failAt) : m_inner(inner), m_failAt(failAt) {}
    bool failed() const { return m_failed; }

    std::optional<FileInfo> lookup(const std::string& p) override { return m_inner.lookup(p); }
    bool folderExists(const std::string& p) override { return m_inner.folderExists(p); }
    std::vector<FileInfo> list(const std::string& f) override { return m_inner.list(f); }
    std::unique_ptr<InputStream> openRead(const std::string& p) override { return m_inner.openRead(p); }
    std::optional<std::string> readAll(const std::string& p, size_t max) override { return m_inner.readAll(p, max); }
    std::vector<DriveInfo> drives() override { return m_inner.drives(); }
    std::string displayPath(const std::string& p) override { return m_inner.displayPath(p); }

    std::unique_ptr<OutputStream> openWrite(const std::string& p, bool atomic) override {
        if (!step()) return nullptr;
        auto inner = m_inner.openWrite(p, atomic);
        if (!inner) return nullptr;
        return std::make_unique<Stream>(*this, std::move(inner));
    }
    bool append(const std::string& p, const std::string& d) override { return step() && m_inner.append(p, d); }
    bool copyFile(const std::string& a, const std::string& b, bool o) override { return step() && m_inner.copyFile(a, b, o); }
    bool deleteFile(const std::string& p) override { return step() && m_inner.deleteFile(p); }
    bool renameFile(const std::string& a, const std::string& b) override { return step() && m_inner.renameFile(a, b); }
    bool createFolder(const std::string& p) override { return step() && m_inner.createFolder(p); }
    bool copyFolder(const std::string& a, const std::string& b) override { return step() && m_inner.copyFolder(a, b); }
    bool deleteFolder(const std::string& p) override { return step() && m_inner.deleteFolder(p); }

private:
    class Stream : public OutputStream {
    public:
        Stream(FailOnceFileSystem& fs, std::unique_ptr<OutputStream> inner) : m_fs(fs), m_inner(std::move(inner)) {}
        bool write(const char* data, size_t n) override {
            if (!m_fs.step()) {
                m_broken = true;
                return false;
            }
            return m_inner->write(data, n);
        }
        bool close() override {
            if (!m_fs.step() || m_broken) return false;  // a failed write spoils the file
            return m_inner->close();
        }

    private:
        FailOnceFileSystem& m_fs;
        std::unique_ptr<OutputStream> m_inner;
        bool m_broken = false;
    };

    bool step() {
        if (m_count++ == m_failAt) {
            m_failed = true;
            return false;
        }
        return true;
    }

    FileSystem& m_inner;
    long long m_failAt;
    long long m_count = 0;
    bool m_failed = false;
};

}  // namespace vedozer::test
