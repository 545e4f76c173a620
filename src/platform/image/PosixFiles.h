#pragma once
#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

// Host file operations shared by the image and data-folder file systems. The "At" forms name an entry
// relative to an open folder descriptor (AT_FDCWD for a path) and never follow a symbolic link in that
// last name; the plain forms take host paths and follow links as the host's own tools do.
namespace vedozer::posix {

// The entry's FileInfo from its stat and DOS attributes (see DosAttributes.h). Directory and
// read-only come from the inode.
FileInfo infoFromStat(const std::string& name, const struct stat& st, std::optional<uint32_t> dos);
// lstat of the entry with its DOS attributes; a symbolic link is reported as itself.
std::optional<FileInfo> statAt(int dirFd, const std::string& name, struct stat* raw = nullptr);
// Follows a symbolic link.
std::optional<FileInfo> stat(const std::string& hostPath);
// Writes the Samba form ("0x22") of the attributes; false when the file system refuses.
bool setDosAttributes(const std::string& hostPath, uint32_t attributes);

// Opens a regular file to read. Opening never waits (a FIFO in its place is refused, not waited
// on) and anything but a regular file is refused, so a device node cannot feed a reader forever.
// With expected, the file opened must be that inode (it was not swapped since it was looked at).
std::unique_ptr<InputStream> openReadAt(int dirFd, const std::string& name,
                                        const struct stat* expected = nullptr);
std::unique_ptr<InputStream> openRead(const std::string& hostPath);
// Creates or truncates a regular file. With atomic, the data goes to a new file next to it that
// takes the name on close(), after a flush. dirFd is duplicated: the stream does not depend on it.
std::unique_ptr<OutputStream> openWriteAt(int dirFd, const std::string& name, bool atomic);
std::unique_ptr<OutputStream> openWrite(const std::string& hostPath, bool atomic);
bool appendAt(int dirFd, const std::string& name, const std::string& data);
bool append(const std::string& hostPath, const std::string& data);
std::optional<std::string> readAll(InputStream& in, size_t maxBytes);
std::optional<std::string> readAll(const std::string& hostPath, size_t maxBytes);
bool copyFileAt(int fromDir, const std::string& fromName, int toDir, const std::string& toName,
                bool overwrite);
bool copyFile(const std::string& from, const std::string& to, bool overwrite);
// Removes a file or a symbolic link, never a folder.
bool deleteFileAt(int dirFd, const std::string& name);
bool deleteFile(const std::string& hostPath);
bool renameAt(int fromDir, const std::string& fromName, int toDir, const std::string& toName);
bool rename(const std::string& from, const std::string& to);
bool createFolderAt(int dirFd, const std::string& name);
bool createFolder(const std::string& hostPath);
// Removes a folder with everything in it. Every step is taken relative to the descriptor of the
// folder above it and no symbolic link is followed, so a folder swapped for a link meanwhile stops
// the removal there instead of leading it elsewhere.
bool deleteFolderAt(int dirFd, const std::string& name);
bool deleteFolder(const std::string& hostPath);

struct DirEntryName {
    std::string name;
    unsigned char type = 0;  // DT_* as the folder listing reports it (DT_UNKNOWN where it does not)
};
// Names in an open folder (host encoding), without "." and "..".
std::vector<DirEntryName> listEntries(int dirFd);
std::vector<std::string> listNames(const std::string& hostPath);
// Opens a folder to act in; -1 when it is not one. noFollow refuses a symbolic link as the last name.
int openFolderAt(int dirFd, const std::string& name, bool noFollow);
bool fsyncFolder(const std::string& hostPath);

}  // namespace vedozer::posix
