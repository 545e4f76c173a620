#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include <cstdio>

#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Http.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32SettingsStore.h"
#include "platform/win32/Win32ShellFolders.h"

namespace vedozer {

struct Win32Platform::Parts {
    Win32FileSystem files;
    Win32Registry registry;
    Win32ShellFolders shellFolders;
    Win32Processes processes;
    Win32SystemInfo systemInfo;
    Win32Http http;
    Win32SystemRestore systemRestore;
    Win32ComServer comServer;
    Win32Shell shell;
    Win32SettingsStore settings;
    Win32InstanceLock lock;
    Win32Clock clock;
};

Win32Platform::~Win32Platform() = default;

std::unique_ptr<Win32Platform> Win32Platform::create(const Win32Config& config, std::string& error) {
    std::unique_ptr<Win32Platform> self(new Win32Platform());
    self->m_parts = std::make_unique<Parts>();
    Parts& parts = *self->m_parts;
    if (!config.dataFolder.empty()) {
        char full[MAX_PATH] = {};
        DWORD n = GetFullPathNameA(config.dataFolder.c_str(), MAX_PATH, full, nullptr);
        if (n == 0 || n >= MAX_PATH) {
            error = "the data folder \"" + config.dataFolder + "\" is not a usable path";
            return nullptr;
        }
        std::string folder(full, n);
        while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
        self->m_platform.dataFolderOverride = folder;
    }
    Platform& p = self->m_platform;
    p.files = &parts.files;
    p.dataFiles = &parts.files;
    p.registry = &parts.registry;
    p.shellFolders = &parts.shellFolders;
    p.processes = &parts.processes;
    p.systemInfo = &parts.systemInfo;
    p.http = &parts.http;
    p.systemRestore = &parts.systemRestore;
    p.comServer = &parts.comServer;
    p.shell = &parts.shell;
    p.settingsStore = &parts.settings;
    p.instanceLock = &parts.lock;
    p.clock = &parts.clock;
    // The files shipped with the program (Localization.txt) lie beside the executable.
    char own[MAX_PATH] = {};
    DWORD ownLength = GetModuleFileNameA(nullptr, own, MAX_PATH);
    if (ownLength > 0 && ownLength < MAX_PATH) {
        std::string folder(own, ownLength);
        p.programFolder = folder.substr(0, folder.find_last_of("\\/"));
    }
    auto identity = identityFromVersionResource();
    self->m_identity = identity ? *identity : ProductIdentity::fromBuild();
    if (!identity) self->m_warnings.push_back("the program has no version resource; using the built-in names");
    return self;
}

std::optional<ProductIdentity> identityFromVersionResource(const std::string& modulePath) {
    std::string path = modulePath;
    if (path.empty()) {
        char own[MAX_PATH] = {};
        DWORD n = GetModuleFileNameA(nullptr, own, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return std::nullopt;
        path.assign(own, n);
    }
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::string block(size, '\0');
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return std::nullopt;

    struct Translation {
        WORD language, codePage;
    };
    Translation* translations = nullptr;
    UINT length = 0;
    char prefix[64];
    if (VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                       &length) &&
        length >= sizeof(Translation))
        std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04x%04x\\", translations[0].language,
                      translations[0].codePage);
    else
        std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\040904e4\\");

    auto field = [&](const char* name) -> std::optional<std::string> {
        char* value = nullptr;
        UINT chars = 0;
        std::string query = std::string(prefix) + name;
        if (!VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &chars) || !value)
            return std::nullopt;
        std::string s(value, chars);
        while (!s.empty() && s.back() == '\0') s.pop_back();
        return s;
    };
    auto product = field("ProductName");
    auto company = field("CompanyName");
    if (!product || product->empty() || !company) return std::nullopt;
    auto comments = field("Comments");
    return ProductIdentity{*product, *company, comments ? *comments : ""};
}

}  // namespace vedozer
