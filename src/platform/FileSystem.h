#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vedozer {

// Windows-style file attributes as a directory lookup reports them.
enum FileAttribute : uint32_t {
    kAttrReadOnly = 0x1,
    kAttrHidden = 0x2,
    kAttrSystem = 0x4,
    kAttrDirectory = 0x10,
};

struct FileInfo {
    std::string name;  // the entry's own name as stored (not the path)
    uint32_t attributes = 0;
    uint64_t size = 0;
    bool isDirectory() const { return attributes & kAttrDirectory; }
    bool isHidden() const { return attributes & kAttrHidden; }
    bool isSystem() const { return attributes & kAttrSystem; }
};

struct DriveInfo {
    std::string root;  // "C:\"
    int driveType = 2; // 2 removable, 3 fixed, 4 network, 5 CD-ROM (the scripting runtime's numbers)
    bool ready = true;
};

class InputStream {
public:
    virtual ~InputStream() = default;
    // Reads up to n bytes; returns the count, 0 at end of file, -1 on error.
    virtual long long read(char* buffer, size_t n) = 0;
    // Moves the read position to a byte offset from the start (beyond the end, reads give 0).
    // False when the stream cannot move; it stays where it was then.
    virtual bool seek(uint64_t offset) {
        (void)offset;
        return false;
    }
};

class OutputStream {
public:
    virtual ~OutputStream() = default;
    virtual bool write(const char* data, size_t n) = 0;
    bool write(const std::string& s) { return write(s.data(), s.size()); }
    // Flushes the data to stable storage; false when anything failed.
    virtual bool close() = 0;
};

// Files addressed by the platform's paths. On Windows these are real paths;
// on the image backend they are Windows paths resolved inside the image's drive
// roots (the data folder has a file system of its own).
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Directory lookup of one path (no wildcards). Empty when nothing is there.
    virtual std::optional<FileInfo> lookup(const std::string& path) = 0;
    virtual bool folderExists(const std::string& path) = 0;
    // Entries of a folder (files and subfolders, not "." and ".."). Empty when it cannot be read.
    virtual std::vector<FileInfo> list(const std::string& folder) = 0;

    virtual std::unique_ptr<InputStream> openRead(const std::string& path) = 0;
    // Creates or truncates. Nothing is visible under the name until close() when atomic is set.
    virtual std::unique_ptr<OutputStream> openWrite(const std::string& path, bool atomic = false) = 0;
    virtual bool append(const std::string& path, const std::string& data) = 0;
    virtual std::optional<std::string> readAll(const std::string& path, size_t maxBytes = SIZE_MAX) = 0;

    virtual bool copyFile(const std::string& from, const std::string& to, bool overwrite) = 0;
    virtual bool deleteFile(const std::string& path) = 0;
    // Replaces an existing target atomically where the system can.
    virtual bool renameFile(const std::string& from, const std::string& to) = 0;
    virtual bool createFolder(const std::string& path) = 0;
    virtual bool copyFolder(const std::string& from, const std::string& to) = 0;
    virtual bool deleteFolder(const std::string& path) = 0;
    virtual std::vector<DriveInfo> drives() = 0;

    // Forgets cached directory listings, so changes made by others since are seen.
    virtual void refresh() {}

    // The host path behind a platform path, for messages and for handing a file to the desktop.
    virtual std::string displayPath(const std::string& path) { return path; }
};

}  // namespace vedozer
