#include "ui/win32/PumpingHttp.h"

#include <windows.h>

#include "ui/win32/MessagePump.h"

namespace vedozer::win32ui {

namespace {

// Pumps the messages waiting, then sleeps until a new one or the worker's event.
class MessageWait : public EventWait {
public:
    MessageWait() : m_event(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
    ~MessageWait() override { CloseHandle(m_event); }
    bool wait() override {
        if (!pumpPendingMessages()) return false;
        MsgWaitForMultipleObjects(1, &m_event, FALSE, INFINITE, QS_ALLINPUT);
        return true;
    }
    void wake() override { SetEvent(m_event); }  // stays set until the next wait takes it

private:
    HANDLE m_event;
};

}  // namespace

PumpingHttp::PumpingHttp(Http& inner)
    : BackgroundHttp(inner, [] { return std::make_unique<MessageWait>(); }) {}

}  // namespace vedozer::win32ui
