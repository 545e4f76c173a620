#pragma once
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/image/FolderTree.h"

namespace vedozer {

// The files of an offline Windows installation. Windows paths ("C:\Program Files\x.exe", "/" also
// accepted as a separator) are resolved component by component under the host folder mapped to
// their drive letter, ignoring letter case. A path never leaves its drive root: ".." components,
// paths without a drive letter and symbolic links leading out of the root are refused. Every action
// is taken relative to the descriptor of the folder it was resolved in (see FolderTree), so a folder
// swapped for a link between the look-up and the action cannot lead it out of the image either.
// Files are only read when they are regular files.
class ImageFileSystem : public FileSystem {
public:
    // Drive letter (upper case) -> host folder. Folders that don't exist are ignored. At most
    // maxOpenFolders folder descriptors are kept open between operations.
    explicit ImageFileSystem(const std::map<char, std::string>& drives, size_t maxOpenFolders = 128);

    // The host path for a Windows path; empty when it does not exist or is refused. With
    // allowMissingLeaf the last component may be absent (its parent must exist).
    std::optional<std::string> toHost(const std::string& windowsPath, bool allowMissingLeaf = false);
    // The Windows path of a host path under one of the roots; empty when outside.
    std::optional<std::string> toWindows(const std::string& hostPath) const;
    const std::map<char, std::string>& roots() const { return m_roots; }

    std::optional<FileInfo> lookup(const std::string& path) override;
    bool folderExists(const std::string& path) override;
    std::vector<FileInfo> list(const std::string& folder) override;
    std::unique_ptr<InputStream> openRead(const std::string& path) override;
    std::unique_ptr<OutputStream> openWrite(const std::string& path, bool atomic) override;
    bool append(const std::string& path, const std::string& data) override;
    std::optional<std::string> readAll(const std::string& path, size_t maxBytes) override;
    bool copyFile(const std::string& from, const std::string& to, bool overwrite) override;
    bool deleteFile(const std::string& path) override;
    bool renameFile(const std::string& from, const std::string& to) override;
    bool createFolder(const std::string& path) override;
    bool copyFolder(const std::string& from, const std::string& to) override;
    bool deleteFolder(const std::string& path) override;
    std::vector<DriveInfo> drives() override;
    std::string displayPath(const std::string& path) override;
    void refresh() override { m_tree->clear(); }

private:
    struct Parsed {
        char drive = 0;
        std::vector<std::string> components;  // host encoding (UTF-8)
    };
    std::optional<Parsed> parse(const std::string& windowsPath) const;
    // The entry a Windows path names (see FolderTree::resolve); starts each operation.
    std::optional<FolderTree::Entry> resolve(const std::string& windowsPath, bool allowMissingLeaf,
                                             bool statLeaf = true);
    std::optional<FileInfo> infoOf(const FolderTree::Entry& entry, bool withAttributes);

    std::map<char, std::string> m_roots;  // canonical host roots
    std::unique_ptr<FolderTree> m_tree;
};

// The program's own data folder on the host. Paths are host paths in which "\" counts as "/",
// so the engine can join names with "\" as it does on Windows.
class HostFileSystem : public FileSystem {
public:
    static std::string toHost(const std::string& path);

    std::optional<FileInfo> lookup(const std::string& path) override;
    bool folderExists(const std::string& path) override;
    std::vector<FileInfo> list(const std::string& folder) override;
    std::unique_ptr<InputStream> openRead(const std::string& path) override;
    std::unique_ptr<OutputStream> openWrite(const std::string& path, bool atomic) override;
    bool append(const std::string& path, const std::string& data) override;
    std::optional<std::string> readAll(const std::string& path, size_t maxBytes) override;
    bool copyFile(const std::string& from, const std::string& to, bool overwrite) override;
    bool deleteFile(const std::string& path) override;
    bool renameFile(const std::string& from, const std::string& to) override;
    bool createFolder(const std::string& path) override;
    bool copyFolder(const std::string& from, const std::string& to) override;
    bool deleteFolder(const std::string& path) override;
    std::vector<DriveInfo> drives() override { return {}; }
    std::string displayPath(const std::string& path) override { return toHost(path); }
};

}  // namespace vedozer
