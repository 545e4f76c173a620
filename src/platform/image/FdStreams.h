#pragma once
#include <sys/stat.h>

#include <memory>
#include <string>

#include "platform/FileSystem.h"

// Streams over file descriptors, for PosixFiles (which documents what they promise).
namespace vedozer::posix {

// A regular file opened to read without waiting (refused otherwise, with EINVAL); with expected,
// it must be that inode; follow: a link as the last name is followed.
std::unique_ptr<InputStream> openReadIn(int dirFd, const std::string& name, const struct stat* expected,
                                        bool follow);
// A regular file created or truncated, or (atomic) a new file next to it that takes the name on
// close(), then without replacing one that appeared meanwhile when noReplace.
std::unique_ptr<OutputStream> openWriteIn(int dirFd, const std::string& name, bool atomic, bool follow,
                                          bool noReplace = false);
bool appendIn(int dirFd, const std::string& name, const std::string& data, bool follow);

}  // namespace vedozer::posix
