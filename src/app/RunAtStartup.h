#pragma once
#include <string>

#include "core/Outcome.h"
#include "platform/Registry.h"

namespace vedozer {

// Where the running program lives, as the system it runs on names it.
struct ProgramLocation {
    std::string folder;          // "C:\Program Files\Vedozer", without a trailing separator
    std::string executableName;  // "vedozer-gui.exe"
    std::string helpFile;        // the help file shipped beside the program ("" when there is none)
};

// The machine's list of programs started with Windows.
inline constexpr char kRunKeyPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// The Run value's name: the executable's name without its extension.
std::string runValueName(const ProgramLocation& program);

// Adds (on) or takes away (off) the program's value under HKEY_LOCAL_MACHINE\...\Run; its data is
// the quoted path of the executable and the switch that starts it in the notification area
// (runAtStartupCommand). Taking away a value that is not there is done.
Outcome setRunAtStartupValue(Registry& registry, const ProgramLocation& program, bool on);

}  // namespace vedozer
