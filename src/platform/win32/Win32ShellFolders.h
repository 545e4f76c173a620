#pragma once
#include "platform/ShellFolders.h"
#include "platform/SystemInfo.h"

namespace vedozer {

class Win32ShellFolders : public ShellFolders {
public:
    std::string folderPath(int csidl) override;
    std::string folderLocation(int csidl) override;
};

class Win32SystemInfo : public SystemInfo {
public:
    OsVersion version() override;
    std::string systemFolder() override;
};

}  // namespace vedozer
