#include "app/presenters/UpdateNoticePresenter.h"

namespace vedozer {

UpdateNoticePresenter::UpdateNoticePresenter(Session& session, UpdateNoticeView& view)
    : m_session(session), m_view(view), m_notice(session.settings()) {
    m_notice.window.setOnMoved([this] { place(); });
    m_notice.setOnClosed([this] {
        m_view.close();
        if (m_onClosed) m_onClosed();
    });
}

void UpdateNoticePresenter::applyLanguage() {
    for (ProtectionCaption id : protectionCaptionsOf(ProtectionWindow::UpdateNotice))
        m_view.setCaption(id, captionText(m_session.languages(), id));
}

void UpdateNoticePresenter::show(const std::string& message) {
    m_notice.show(m_view.screen(), twipsY(m_view.heightPixels()), m_view.innerWidthPixels(), message);
    m_view.setText(m_notice.text());
    m_view.show();
}

std::vector<LogicalTimer*> UpdateNoticePresenter::timers() {
    SlideWindow& w = m_notice.window;
    return {&w.slideUp, &w.rest, &w.slideDown};
}

void UpdateNoticePresenter::place() {
    m_view.moveTo(pixelsX(m_notice.window.left()), pixelsY(m_notice.window.top()));
}

}  // namespace vedozer
