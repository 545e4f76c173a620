#pragma once
#include <cstdint>
#include <string>

#include "platform/FileSystem.h"

namespace vedozer {

// Copies between two file systems (the scanned image and the program's data folder) through
// streams. With atomic the target appears only once it is whole and flushed.
// Returns false, leaving no partial target behind where atomic is set, when any step failed.
bool copyFileAcross(FileSystem& from, const std::string& fromPath, FileSystem& to, const std::string& toPath,
                    bool atomic);

// Copies a folder tree; the target folder is created. Every file is flushed before it counts.
// False when anything could not be copied (what was copied stays).
bool copyFolderAcross(FileSystem& from, const std::string& fromPath, FileSystem& to, const std::string& toPath,
                      bool atomic);

// Creates a folder and its missing parents, "\"-separated. The first component ("C:" or a host
// root) must exist.
bool createFolders(FileSystem& fs, const std::string& path);

// "\"-separated parent and last component.
std::string parentPath(const std::string& path);
std::string lastComponent(const std::string& path);
std::string withoutTrailingSeparators(const std::string& path);

}  // namespace vedozer
