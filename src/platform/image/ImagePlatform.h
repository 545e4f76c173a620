#pragma once
#include <map>
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/image/ImageLayout.h"

namespace vedozer {

class ImageFileSystem;
class HostFileSystem;
class ImageRegistry;

struct ImageConfig {
    std::string systemDrive;                // host folder of C:, empty for no image
    std::map<char, std::string> otherDrives;
    std::string user;                       // profile name, empty = the only one
    std::string dataFolder;                 // empty = $XDG_DATA_HOME/RozaVedozerEZO
    std::string configDir;                  // empty = $XDG_CONFIG_HOME
    std::string machineConfigDir;           // empty = /etc/vedozer
    std::string programFolder;              // empty = hostProgramFolder()
};

// Everything the engine needs to work on an offline Windows installation from Linux.
class ImagePlatform {
public:
    // Fails (null, with a message) when the target or a drive does not exist or the image is unusable.
    static std::unique_ptr<ImagePlatform> create(const ImageConfig& config, std::string& error);
    ~ImagePlatform();

    Platform& platform() { return m_platform; }
    bool hasImage() const { return m_hasImage; }
    const ImageLayout& layout() const { return m_layout; }
    ImageFileSystem& imageFiles() { return *m_files; }
    ImageRegistry& imageRegistry() { return *m_registry; }
    const std::string& dataFolder() const { return m_platform.dataFolderOverride; }
    // Problems met while opening the image that don't stop the work (a damaged hive, ...).
    const std::vector<std::string>& warnings() const { return m_warnings; }

private:
    ImagePlatform() = default;
    struct Parts;
    std::unique_ptr<Parts> m_parts;
    Platform m_platform;
    ImageLayout m_layout;
    bool m_hasImage = false;
    ImageFileSystem* m_files = nullptr;
    ImageRegistry* m_registry = nullptr;
    std::vector<std::string> m_warnings;
};

std::string hostDataFolder();

// Where the files shipped with the program lie: "<prefix>/share/vedozer" beside the "<prefix>/bin"
// of an installed program, else the executable's own folder (a build tree).
std::string hostProgramFolder();

}  // namespace vedozer
