#pragma once
#include "platform/Clock.h"
#include "platform/ComServer.h"
#include "platform/Shell.h"

namespace vedozer {

// Opens folders and files with the desktop's handler (xdg-open), without waiting for it.
class XdgShell : public Shell {
public:
    bool open(const std::string& path) override;
};

// Libraries of an offline image cannot be loaded here; registration is reported as unavailable.
class UnavailableComServer : public ComServer {
public:
    bool isAvailable() override { return false; }
    bool registerServer(const std::string&) override { return false; }
    bool unregisterServer(const std::string&) override { return false; }
};

class SystemClock : public Clock {
public:
    LocalTime now() override;
    uint64_t millis() override;
    void sleepMillis(uint32_t ms) override;
};

}  // namespace vedozer
