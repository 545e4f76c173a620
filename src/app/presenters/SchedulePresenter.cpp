#include "app/presenters/SchedulePresenter.h"

#include "i18n/MessageKeys.h"

namespace vedozer {

SchedulePresenter::SchedulePresenter(Session& session, ScheduleView& view)
    : m_session(session), m_view(view), m_editor(session.settings(), session.timers()) {}

void SchedulePresenter::applyLanguage() {
    for (ProtectionCaption id : protectionCaptionsOf(ProtectionWindow::Schedule))
        m_view.setCaption(id, captionText(m_session.languages(), id));
}

void SchedulePresenter::fill() {
    m_editor.load();
    show();
}

void SchedulePresenter::enabledClicked(bool ticked) {
    m_editor.enabledClicked(ticked);
    show();
}

void SchedulePresenter::daySelected(int index) {
    m_editor.daySelected(index);
    show();
}

void SchedulePresenter::dateChanged(std::optional<CalendarDate> date) {
    m_editor.dateChanged(date);
    show();
}

void SchedulePresenter::timeChanged(std::optional<TimeOfDay> time) {
    m_editor.timeChanged(time);
    show();
}

void SchedulePresenter::autoDeleteClicked(bool ticked) {
    m_editor.autoDeleteClicked(ticked);
    show();
}

ScheduleApplied SchedulePresenter::applyClicked() {
    ScheduleApplied result = m_editor.applyClicked();
    if (result == ScheduleApplied::DateMissing)
        m_session.host().onNotice(Notice{NoticeKind::Warning, m_session.message(msg::MSG_DATE)});
    else if (result == ScheduleApplied::NotSaved)
        m_session.host().onNotice(Notice{NoticeKind::Error, "The schedule could not be saved."});
    show();
    return result;
}

}  // namespace vedozer
