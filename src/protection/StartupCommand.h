#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vedozer {

// Started by the machine's Run key at log-on, the desktop program goes straight to the
// notification area: the Run value carries this switch.
inline constexpr char kStartInTraySwitch[] = "/tray";

// The Run value's data: the program's full path in quotes (its folder may hold blanks), a blank
// and the switch: "C:\Program Files\Vedozer\vedozer-gui.exe" /tray
std::string runAtStartupCommand(const std::string& folder, const std::string& executableName);

// True when the program's arguments (without the program itself) carry the switch, written
// "/tray" or "-tray" in any letter case.
bool startsInTray(const std::vector<std::string>& arguments);

// How the desktop program was started (its arguments).
struct StartOptions {
    bool inTray = false;  // "/tray": from the Run key, straight into the notification area
    // "/test-clock=AHEAD,RATE", for tests only: the clock AHEAD seconds ahead (may be negative)
    // and running RATE times as fast (1 to 1000), the protection timers RATE times as often.
    // A switch written otherwise is ignored.
    int64_t clockAheadSeconds = 0;
    uint32_t clockRate = 1;
};
StartOptions parseStartOptions(const std::vector<std::string>& arguments);

}  // namespace vedozer
