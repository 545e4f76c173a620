#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>

#include "platform/Registry.h"
#include "platform/ShellFolders.h"
#include "platform/SystemInfo.h"
#include "platform/image/ImageLayout.h"

namespace vedozer {

// Shell folders of the image's user: the user's hive (User Shell Folders, then Shell Folders),
// the machine's for the all-users folders, else the defaults of the image's layout. Environment
// references (%USERPROFILE%, %APPDATA%, %SystemRoot% ...) are expanded for the image, never the host.
//
// With a registry generation (see ImageRegistry::generation) each answer is kept until the
// generation changes, so the many token expansions of a scan do not ask the hives every time.
class ImageShellFolders : public ShellFolders {
public:
    ImageShellFolders(Registry& registry, ImageLayout layout, std::function<uint64_t()> registryGeneration = {});
    std::string folderPath(int csidl) override;
    std::string folderLocation(int csidl) override { return folderPath(csidl); }

    // Expands %NAME% references with the image's environment; unknown names are kept as written.
    std::string expandEnvironment(const std::string& text);

private:
    std::string lookUp(int csidl);
    std::string fromRegistry(bool common, const std::string& valueName);
    std::string defaultFor(int csidl);
    std::string programFiles();
    std::string commonFiles();

    Registry& m_registry;
    ImageLayout m_layout;
    std::function<uint64_t()> m_generation;
    uint64_t m_cachedGeneration = 0;
    std::unordered_map<int, std::string> m_cache;
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
