#pragma once
#include "app/presenters/BackgroundHttp.h"

class QEventLoop;

namespace vedozer::qtui {

// The backend's HTTP client for the window: requests on a worker thread while this thread keeps
// Qt's event loop turning (see BackgroundHttp). Once the program is closing (abandon()), a request
// still waiting is left to finish on its own and its caller hears that it was cancelled.
class PumpingHttp : public BackgroundHttp {
public:
    explicit PumpingHttp(Http& inner);
    void abandon();

private:
    class LoopWait;
    bool m_abandoned = false;
    QEventLoop* m_waiting = nullptr;  // the innermost wait running
};

}  // namespace vedozer::qtui
