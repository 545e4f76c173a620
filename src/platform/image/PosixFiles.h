#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

// Host file operations shared by the image and data-folder file systems. Paths here are host paths.
namespace vedozer::posix {

// DOS attributes from the extended attributes a mount exposes: ntfs-3g's "system.ntfs_attrib_be"
// (and "system.ntfs_attrib"), Samba's "user.DOSATTRIB" (leading "0x.." text). Directory and
// read-only come from the inode.
std::optional<FileInfo> stat(const std::string& hostPath);
// Writes the Samba form ("0x22") of the attributes; false when the file system refuses.
bool setDosAttributes(const std::string& hostPath, uint32_t attributes);

std::unique_ptr<InputStream> openRead(const std::string& hostPath);
std::unique_ptr<OutputStream> openWrite(const std::string& hostPath, bool atomic);
bool append(const std::string& hostPath, const std::string& data);
std::optional<std::string> readAll(const std::string& hostPath, size_t maxBytes);
bool copyFile(const std::string& from, const std::string& to, bool overwrite);
bool deleteFile(const std::string& hostPath);
bool rename(const std::string& from, const std::string& to);
bool createFolder(const std::string& hostPath);
bool deleteFolder(const std::string& hostPath);
// Names in a folder (host encoding), without "." and "..".
std::vector<std::string> listNames(const std::string& hostPath);
bool fsyncFolder(const std::string& hostPath);

}  // namespace vedozer::posix
