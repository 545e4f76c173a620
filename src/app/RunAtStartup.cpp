#include "app/RunAtStartup.h"

#include "protection/StartupCommand.h"

namespace vedozer {

std::string runValueName(const ProgramLocation& program) {
    const std::string& exe = program.executableName;
    size_t dot = exe.rfind('.');
    return dot == std::string::npos || dot == 0 ? exe : exe.substr(0, dot);
}

Outcome setRunAtStartupValue(Registry& registry, const ProgramLocation& program, bool on) {
    if (program.executableName.empty()) return Outcome::notDone("the program's own file name is not known");
    const std::string name = runValueName(program);
    if (on) {
        // Started at log-on, the program goes straight to the notification area.
        std::string data = runAtStartupCommand(program.folder, program.executableName);
        data.push_back('\0');
        RegStatus s = registry.setValue(RootKey::LocalMachine, kRunKeyPath, name, RegistryValue{kRegSz, data});
        if (s == RegStatus::Ok) return Outcome::done();
        return Outcome::notDone(s == RegStatus::AccessDenied ? "access denied" : "the registry refused the value");
    }
    RegStatus s = registry.deleteValue(RootKey::LocalMachine, kRunKeyPath, name);
    if (s == RegStatus::Ok || s == RegStatus::NotFound) return Outcome::done();
    return Outcome::notDone(s == RegStatus::AccessDenied ? "access denied" : "the registry refused to delete the value");
}

}  // namespace vedozer
