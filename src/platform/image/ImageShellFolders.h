#pragma once
#include <map>
#include <string>

#include "platform/Registry.h"
#include "platform/ShellFolders.h"
#include "platform/SystemInfo.h"
#include "platform/image/ImageLayout.h"

namespace vedozer {

// Shell folders of the image's user: the user's hive (User Shell Folders, then Shell Folders),
// the machine's for the all-users folders, else the defaults of the image's layout. Environment
// references (%USERPROFILE%, %APPDATA%, %SystemRoot% ...) are expanded for the image, never the host.
class ImageShellFolders : public ShellFolders {
public:
    ImageShellFolders(Registry& registry, ImageLayout layout);
    std::string folderPath(int csidl) override;
    std::string folderLocation(int csidl) override { return folderPath(csidl); }

    // Expands %NAME% references with the image's environment; unknown names are kept as written.
    std::string expandEnvironment(const std::string& text);

private:
    std::string fromRegistry(bool common, const std::string& valueName);
    std::string defaultFor(int csidl);
    std::string programFiles();
    std::string commonFiles();

    Registry& m_registry;
    ImageLayout m_layout;
};

// Version and system folder, read from the image's SOFTWARE hive.
class ImageSystemInfo : public SystemInfo {
public:
    ImageSystemInfo(Registry& registry, ImageLayout layout) : m_registry(registry), m_layout(std::move(layout)) {}
    OsVersion version() override;
    std::string systemFolder() override;

private:
    Registry& m_registry;
    ImageLayout m_layout;
};

}  // namespace vedozer
