#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/Session.h"
#include "app/presenters/ProtectionViews.h"
#include "protection/UpdateNotice.h"

namespace vedozer {

// The notice after every Live Update, manual or automatic: Live Update's closing message in a
// window that slides up out of the taskbar (20 twips every 10 ms), rests seven seconds and slides
// away again (40 twips every 10 ms); OK closes it at once. Closing records SHOW = "false".
class UpdateNoticePresenter {
public:
    UpdateNoticePresenter(Session& session, UpdateNoticeView& view);

    void applyLanguage();
    // Shows the message (the built-in text when it is empty), from the upper edge of the taskbar.
    void show(const std::string& message);
    void okClicked() { m_notice.okClicked(); }
    // After it closed (the Live Update window's own notification-area icon goes then).
    void setOnClosed(std::function<void()> f) { m_onClosed = std::move(f); }

    // The slide-up, rest and slide-down timers a front end drives.
    std::vector<LogicalTimer*> timers();
    const UpdateNotice& notice() const { return m_notice; }
    bool isOpen() const { return m_notice.window.isOpen(); }

private:
    void place();

    Session& m_session;
    UpdateNoticeView& m_view;
    UpdateNotice m_notice;
    std::function<void()> m_onClosed;
};

}  // namespace vedozer
