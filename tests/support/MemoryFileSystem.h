#pragma once
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace vedozer::test {

// An in-memory FileSystem with Windows path rules for unit tests: "\" and "/" separate components,
// repeated separators count once, names compare without regard to case and keep the case they
// were created with. Drives are the first component ("C:"); a drive exists once anything was
// added below it or addDrive() named it. Parent folders must exist for writes, as on Windows.
class MemoryFileSystem : public FileSystem {
public:
    // Test set-up: creates the file (and its parent folders) with the content and attributes.
    void addFile(const std::string& path, const std::string& content = {}, uint32_t attributes = 0);
    void addFolder(const std::string& path, uint32_t attributes = 0);
    void addDrive(const std::string& root, int driveType = 2, bool ready = true);

    bool exists(const std::string& path) const;
    // Content of a file; empty optional when it is missing or a folder.
    std::optional<std::string> content(const std::string& path) const;
    void setAttributes(const std::string& path, uint32_t attributes);
    // A locked file (or folder) cannot be opened, written, deleted or renamed: a sharing violation.
    void lock(const std::string& path) { m_locked.insert(key(path)); }
    void unlock(const std::string& path) { m_locked.erase(key(path)); }
    // Streams hand out at most this many bytes per read (to test readers at chunk borders).
    void setReadChunk(size_t bytes) { m_readChunk = bytes ? bytes : 1; }
    // Streams of this file fail with a read error after the given number of bytes.
    void failReadsAfter(const std::string& path, size_t bytes) { m_readFailures[key(path)] = bytes; }
    // The number of directory lookups made so far.
    size_t lookupCount() const { return m_lookups; }

    std::optional<FileInfo> lookup(const std::string& path) override;
    bool folderExists(const std::string& path) override;
    std::vector<FileInfo> list(const std::string& folder) override;
    std::unique_ptr<InputStream> openRead(const std::string& path) override;
    std::unique_ptr<OutputStream> openWrite(const std::string& path, bool atomic = false) override;
    bool append(const std::string& path, const std::string& data) override;
    std::optional<std::string> readAll(const std::string& path, size_t maxBytes = SIZE_MAX) override;
    bool copyFile(const std::string& from, const std::string& to, bool overwrite) override;
    bool deleteFile(const std::string& path) override;
    bool renameFile(const std::string& from, const std::string& to) override;
    bool createFolder(const std::string& path) override;
    bool copyFolder(const std::string& from, const std::string& to) override;
    bool deleteFolder(const std::string& path) override;
    std::vector<DriveInfo> drives() override;

    // Folder keys ("C:\A\B" upper-cased, separators normalized) to their components.
    static std::string key(const std::string& path);

private:
    struct Node {
        std::string name;  // as created
        bool folder = false;
        uint32_t attributes = 0;
        std::shared_ptr<std::string> data = std::make_shared<std::string>();
    };
    friend class MemoryOutput;

    static std::vector<std::string> components(const std::string& path);
    static std::string parentKey(const std::string& key);
    Node* find(const std::string& path);
    const Node* find(const std::string& path) const;
    bool parentIsFolder(const std::string& path) const;
    bool locked(const std::string& path) const { return m_locked.count(key(path)) > 0; }
    // Writes a file node (creating it in its parent); false when the parent is missing.
    bool store(const std::string& path, const std::string& data, bool appendData);

    std::map<std::string, Node> m_nodes;  // by key
    std::map<std::string, DriveInfo> m_drives;
    std::set<std::string> m_locked;
    std::map<std::string, size_t> m_readFailures;
    size_t m_readChunk = SIZE_MAX;
    size_t m_lookups = 0;
};

}  // namespace vedozer::test
