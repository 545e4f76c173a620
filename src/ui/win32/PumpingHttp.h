#pragma once
#include "app/presenters/BackgroundHttp.h"

namespace vedozer::win32ui {

// The backend's HTTP client for the desktop: requests on a worker thread while this thread keeps
// pumping window messages (see BackgroundHttp). Once WM_QUIT was seen, a request still waiting
// is left to finish on its own.
class PumpingHttp : public BackgroundHttp {
public:
    explicit PumpingHttp(Http& inner);
};

}  // namespace vedozer::win32ui
