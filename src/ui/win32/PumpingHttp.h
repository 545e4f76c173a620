#pragma once
#include "platform/Http.h"

namespace vedozer::win32ui {

// The backend's HTTP client as the desktop uses it: the request runs on a worker thread while
// this thread keeps pumping window messages, so the windows repaint and answer while a server
// takes its time to connect or reply. Progress calls reach the caller on this thread, as before.
// When the program is asked to quit meanwhile, the request is left to finish on its own and the
// caller hears it was cancelled.
class PumpingHttp : public Http {
public:
    explicit PumpingHttp(Http& inner) : m_inner(inner) {}
    HttpResult get(const std::string& url, const HttpOptions& options, const HttpProgress& progress = {}) override;

private:
    Http& m_inner;
};

}  // namespace vedozer::win32ui
