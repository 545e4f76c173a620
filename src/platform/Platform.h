#pragma once
#include <string>

#include "platform/Clock.h"
#include "platform/ComServer.h"
#include "platform/FileSystem.h"
#include "platform/Http.h"
#include "platform/InstanceLock.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/ShellFolders.h"
#include "platform/SystemInfo.h"
#include "platform/SystemRestore.h"

namespace vedozer {

// The services of one backend, borrowed by the session and the domain modules.
struct Platform {
    FileSystem* files = nullptr;      // the scanned system's files
    FileSystem* dataFiles = nullptr;  // the program's own data folder (same object on Windows)
    Registry* registry = nullptr;
    ShellFolders* shellFolders = nullptr;
    Processes* processes = nullptr;
    SystemInfo* systemInfo = nullptr;
    Http* http = nullptr;
    SystemRestore* systemRestore = nullptr;
    ComServer* comServer = nullptr;
    Shell* shell = nullptr;
    SettingsStore* settingsStore = nullptr;
    InstanceLock* instanceLock = nullptr;
    Clock* clock = nullptr;
    // When set, the data folder to use instead of "[appdata]RozaVedozerEZO".
    std::string dataFolderOverride;
    // The folder of the files shipped with the program (Localization.txt), as dataFiles names
    // it; empty when there is none.
    std::string programFolder;
};

}  // namespace vedozer
