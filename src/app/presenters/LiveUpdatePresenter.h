#pragma once
#include "core/LogicalTimer.h"
#include "app/Session.h"
#include "app/presenters/DesktopHost.h"
#include "app/presenters/WindowViews.h"

namespace vedozer {

// The Live Update progress window: the current step from the update's events, a blinking line
// driven by its 800 ms timer, two pictures shown in turn, its own notification-area icon, and
// Cancel, which closes the window only (the update goes on; its later texts are not seen).
class LiveUpdatePresenter : public HostListener {
public:
    LiveUpdatePresenter(Session& session, LiveUpdateView& view);

    void applyLanguage();
    void open();
    void close();
    void cancelClicked() { close(); }
    // One tick of the blink timer.
    void blinkTick();

    LogicalTimer& blinkTimer() { return m_blink; }
    bool isOpen() const { return m_open; }
    const std::string& statusText() const { return m_status; }
    const std::string& blinkText() const { return m_blinkText; }
    bool arrowUp() const { return m_up; }

    void onUpdateProgress(const UpdateProgress& e) override;

private:
    void setBlinkText(const char* key);
    void showArrow(bool up);

    Session& m_session;
    LiveUpdateView& m_view;
    LogicalTimer m_blink{"live update blink", 800};
    bool m_open = false;
    bool m_up = true;
    int m_step = 0;  // survives between ticks
    std::string m_status;
    std::string m_blinkText;
};

}  // namespace vedozer
