#pragma once
#include "platform/FileSystem.h"

namespace vedozer {

// The Windows file API on real paths (ANSI functions: names in the system code page).
class Win32FileSystem : public FileSystem {
public:
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
};

}  // namespace vedozer
