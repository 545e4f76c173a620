#pragma once
#include <string>

#include "core/Host.h"
#include "platform/Platform.h"

namespace vedozer {

enum class ProgramStopResult {
    Stopped,     // it ran and has ended
    NotRunning,  // nothing of that name (at that path) runs: there was nothing to stop
    Refused,     // it runs and could not be ended (a protected process, access denied)
};

// Stops the first running program whose image name matches the file name (also in its 8.3
// form). With fullPath, only a process whose main module is that very file counts, so a
// namesake elsewhere on the system is left alone. Tries 11 times; yields between processes.
ProgramStopResult stopRunningProgram(Platform& platform, Host& host, const std::string& fileName,
                                     const std::string& fullPath = "");

}  // namespace vedozer
