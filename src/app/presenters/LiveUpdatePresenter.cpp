#include "app/presenters/LiveUpdatePresenter.h"

#include "i18n/MessageKeys.h"

namespace vedozer {

LiveUpdatePresenter::LiveUpdatePresenter(Session& session, LiveUpdateView& view) : m_session(session), m_view(view) {
    m_blink.setHandler([this] { blinkTick(); });
}

void LiveUpdatePresenter::applyLanguage() {
    for (CaptionId id : captionsOf(CaptionGroup::LiveUpdate)) m_view.setCaption(id, captionText(m_session.languages(), id));
}

void LiveUpdatePresenter::open() {
    m_open = true;
    m_status.clear();
    m_view.setStatusText(m_status);
    showArrow(true);
    setBlinkText(msg::MSG_DOWNLOADING);
    m_view.removeTrayIcon();
    m_view.showTrayIcon(captionText(m_session.languages(), CaptionId::LiveUpdateTrayTip));
    m_view.show();
    m_blink.setEnabled(true);
}

void LiveUpdatePresenter::close() {
    if (!m_open) return;
    m_open = false;
    m_blink.setEnabled(false);
    m_view.removeTrayIcon();
    m_view.close();
}

void LiveUpdatePresenter::blinkTick() {
    if (!m_up) {
        showArrow(true);
        setBlinkText(msg::MSG_CONNECTING);
    } else {
        setBlinkText(msg::MSG_CHECKING);
        showArrow(false);
    }
    if (m_step >= 15) m_step = 0;
    if (m_step == 0)
        setBlinkText(msg::MSG_CONNECTING2);
    else if ((m_step >= 2 && m_step <= 5) || (m_step >= 10 && m_step <= 14))
        setBlinkText(msg::MSG_SENDING);
    else if (m_step == 6)
        setBlinkText(msg::MSG_SENT);
    else if (m_step == 8)
        setBlinkText(msg::MSG_RECEIVING);
    ++m_step;
}

void LiveUpdatePresenter::onUpdateProgress(const UpdateProgress& e) {
    if (!m_open) return;
    m_status = e.text;
    m_view.setStatusText(m_status);
}

void LiveUpdatePresenter::setBlinkText(const char* key) {
    m_blinkText = m_session.message(key);
    m_view.setBlinkText(m_blinkText);
}

void LiveUpdatePresenter::showArrow(bool up) {
    m_up = up;
    m_view.showArrow(up);
}

}  // namespace vedozer
