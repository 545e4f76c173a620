#include "platform/image/ImagePlatform.h"

#include <cstdlib>
#include <filesystem>

#include "platform/image/FileInstanceLock.h"
#include "platform/image/HostServices.h"
#include "platform/image/HttpClient.h"
#include "platform/image/ImageFileSystem.h"
#include "platform/image/ImageProcesses.h"
#include "platform/image/ImageRegistry.h"
#include "platform/image/ImageShellFolders.h"
#include "platform/image/ImageSystemRestore.h"
#include "platform/image/IniSettingsStore.h"

namespace vedozer {

struct ImagePlatform::Parts {
    std::unique_ptr<ImageFileSystem> files;
    HostFileSystem dataFiles;
    std::unique_ptr<ImageRegistry> registry;
    std::unique_ptr<ImageShellFolders> shellFolders;
    std::unique_ptr<ImageSystemInfo> systemInfo;
    std::unique_ptr<ImageProcesses> processes;
    std::unique_ptr<ImageSystemRestore> systemRestore;
    HttpClient http;
    UnavailableComServer comServer;
    XdgShell shell;
    std::unique_ptr<IniSettingsStore> settings;
    std::unique_ptr<FileInstanceLock> lock;
    SystemClock clock;
};

std::string hostDataFolder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    std::string base;
    if (xdg && *xdg) base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home) base = std::string(home) + "/.local/share";
    else base = ".";
    return base + "/RozaVedozerEZO";
}

ImagePlatform::~ImagePlatform() = default;

std::unique_ptr<ImagePlatform> ImagePlatform::create(const ImageConfig& config, std::string& error) {
    namespace fs = std::filesystem;
    std::unique_ptr<ImagePlatform> self(new ImagePlatform());
    self->m_parts = std::make_unique<Parts>();
    Parts& parts = *self->m_parts;

    std::map<char, std::string> drives;
    if (!config.systemDrive.empty()) {
        std::error_code ec;
        if (!fs::is_directory(config.systemDrive, ec)) {
            error = "target \"" + config.systemDrive + "\" is not a folder";
            return nullptr;
        }
        drives['C'] = config.systemDrive;
        self->m_hasImage = true;
    }
    for (const auto& [letter, dir] : config.otherDrives) {
        std::error_code ec;
        if (letter == 'C' && !config.systemDrive.empty()) {
            error = "drive C: is the target; give other letters with --drive";
            return nullptr;
        }
        if (!fs::is_directory(dir, ec)) {
            error = std::string("drive ") + letter + ": \"" + dir + "\" is not a folder";
            return nullptr;
        }
        drives[letter] = dir;
    }
    parts.files = std::make_unique<ImageFileSystem>(drives);
    self->m_files = parts.files.get();

    ImageRegistry::Config registryConfig;
    if (self->m_hasImage) {
        LayoutResult layout = detectImageLayout(*parts.files, config.user);
        if (!layout.layout) {
            error = layout.error;
            return nullptr;
        }
        self->m_layout = *layout.layout;
        auto hive = [&](const std::string& windowsPath) -> std::string {
            if (windowsPath.empty()) return "";
            auto host = parts.files->toHost(windowsPath);
            return host ? *host : "";
        };
        const std::string cfg = self->m_layout.configFolder();
        registryConfig.hives.software = hive(cfg + "\\SOFTWARE");
        registryConfig.hives.system = hive(cfg + "\\SYSTEM");
        registryConfig.hives.sam = hive(cfg + "\\SAM");
        registryConfig.hives.security = hive(cfg + "\\SECURITY");
        registryConfig.hives.defaultHive = hive(cfg + "\\DEFAULT");
        registryConfig.hives.ntuser = hive(self->m_layout.ntuserHive());
        registryConfig.hives.usrclass = hive(self->m_layout.usrClassHive());
        if (registryConfig.hives.software.empty())
            self->m_warnings.push_back("the image has no SOFTWARE hive under " + cfg);
        if (registryConfig.hives.ntuser.empty() && !self->m_layout.userProfile.empty())
            self->m_warnings.push_back("the user's profile has no NTUSER.DAT");
    }
    parts.registry = std::make_unique<ImageRegistry>(registryConfig);
    self->m_registry = parts.registry.get();
    // Say at once which hives can't be read: registry definitions in them would silently find nothing.
    const std::pair<RootKey, const char*> probes[] = {{RootKey::LocalMachine, "SOFTWARE"},
                                                      {RootKey::LocalMachine, "SYSTEM"},
                                                      {RootKey::CurrentUser, ""},
                                                      {RootKey::ClassesRoot, ""},
                                                      {RootKey::Users, ".DEFAULT"}};
    for (const auto& [root, path] : probes) {
        if (!self->m_hasImage) break;
        if (parts.registry->openKey(root, path, kKeyReadWriteMask) == RegStatus::Error)
            self->m_warnings.push_back(std::string(rootKeyName(root)) + (*path ? std::string("\\") + path : "") +
                                       " cannot be read, its registry items are not scanned: " +
                                       parts.registry->lastError());
    }
    parts.shellFolders = std::make_unique<ImageShellFolders>(
        *parts.registry, self->m_layout, [registry = parts.registry.get()] { return registry->generation(); });
    parts.systemInfo = std::make_unique<ImageSystemInfo>(*parts.registry, self->m_layout);

    fs::path userConfig = config.configDir.empty() ? IniSettingsStore::defaultUserConfigDir()
                                                   : fs::path(config.configDir);
    fs::path machineConfig = config.machineConfigDir.empty() ? fs::path("/etc/vedozer")
                                                             : fs::path(config.machineConfigDir);
    parts.settings = std::make_unique<IniSettingsStore>(userConfig, machineConfig);
    parts.lock = std::make_unique<FileInstanceLock>(userConfig);

    parts.processes = std::make_unique<ImageProcesses>(drives);

    Platform& p = self->m_platform;
    p.files = parts.files.get();
    p.dataFiles = &parts.dataFiles;
    p.registry = parts.registry.get();
    p.shellFolders = parts.shellFolders.get();
    p.systemInfo = parts.systemInfo.get();
    p.http = &parts.http;
    p.comServer = &parts.comServer;
    p.shell = &parts.shell;
    p.settingsStore = parts.settings.get();
    p.instanceLock = parts.lock.get();
    p.clock = &parts.clock;
    p.dataFolderOverride = fs::absolute(config.dataFolder.empty() ? hostDataFolder() : config.dataFolder).string();
    while (p.dataFolderOverride.size() > 1 && p.dataFolderOverride.back() == '/') p.dataFolderOverride.pop_back();
    p.processes = parts.processes.get();
    p.programFolder = config.programFolder.empty() ? hostProgramFolder() : config.programFolder;
    parts.systemRestore = std::make_unique<ImageSystemRestore>(*parts.registry, p.dataFolderOverride + "/quarantine",
                                                               parts.clock);
    p.systemRestore = parts.systemRestore.get();
    return self;
}

std::string hostProgramFolder() {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path executable = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return "";
    fs::path bin = executable.parent_path();
    fs::path shared = bin.parent_path() / "share" / "vedozer";
    if (fs::is_directory(shared, ec)) return fs::weakly_canonical(shared, ec).string();
    return bin.string();
}

}  // namespace vedozer
