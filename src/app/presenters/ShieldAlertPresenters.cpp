#include "app/presenters/ShieldAlertPresenters.h"

namespace vedozer {

namespace {

std::string subject(const Question& q, size_t i) { return i < q.subjects.size() ? q.subjects[i] : std::string(); }

}  // namespace

ThreatAlertPresenter::ThreatAlertPresenter(Session& session, ThreatAlertView& view) : m_session(session), m_view(view) {}

void ThreatAlertPresenter::applyLanguage() {
    for (ProtectionCaption id : protectionCaptionsOf(ProtectionWindow::ThreatAlert))
        m_view.setCaption(id, captionText(m_session.languages(), id));
}

Answer ThreatAlertPresenter::ask(const Question& q) {
    m_answer = Answer::Cancel;
    m_open = true;
    m_view.setThreat(subject(q, 0), subject(q, 1));
    m_view.setStopEnabled(true);
    m_view.showModal();
    m_open = false;
    return m_answer;
}

void ThreatAlertPresenter::stopClicked() {
    if (!m_open) return;
    m_view.setStopEnabled(false);  // one click stops it; a second one would find nothing
    answer(Answer::Yes);
}

void ThreatAlertPresenter::allowClicked() { answer(Answer::No); }

void ThreatAlertPresenter::closed() {
    if (m_open) m_open = false;
}

void ThreatAlertPresenter::answer(Answer a) {
    if (!m_open) return;
    m_answer = a;
    m_open = false;
    m_view.close();
}

HomePageAlertPresenter::HomePageAlertPresenter(Session& session, HomePageAlertView& view)
    : m_session(session), m_view(view) {}

void HomePageAlertPresenter::applyLanguage() {
    for (ProtectionCaption id : protectionCaptionsOf(ProtectionWindow::HomePageAlert))
        m_view.setCaption(id, captionText(m_session.languages(), id));
}

Answer HomePageAlertPresenter::ask(const Question& q) {
    m_answer = Answer::Cancel;
    m_open = true;
    m_view.setInfo(q.text);
    m_view.showModal();
    m_open = false;
    return m_answer;
}

void HomePageAlertPresenter::yesClicked() { answer(Answer::Yes); }

void HomePageAlertPresenter::noClicked() { answer(Answer::No); }

void HomePageAlertPresenter::closed() {
    if (m_open) m_open = false;
}

void HomePageAlertPresenter::answer(Answer a) {
    if (!m_open) return;
    m_answer = a;
    m_open = false;
    m_view.close();
}

Answer ProtectionDialogs::ask(const Question& q) {
    switch (q.kind) {
        case QuestionKind::RunningThreat:
            if (m_threatAlert) return m_threatAlert->ask(q);
            break;
        case QuestionKind::HomePageChanged:
            if (m_homePageAlert) return m_homePageAlert->ask(q);
            break;
        default: break;
    }
    return m_toolkit.ask(q);
}

}  // namespace vedozer
