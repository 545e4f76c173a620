#pragma once
#include <optional>

#include "app/Session.h"
#include "app/presenters/ProtectionViews.h"
#include "protection/ScheduleEditor.h"

namespace vedozer {

// The schedule controls of the options page. Every change enables Apply; Apply stores the
// schedule (Day, Time, Date as "hh:mm:ss" and "dd/MM/yyyy", or "Null" for an empty picker),
// switches the scheduler's timer and shows the stored schedule again. "Date & Time" without
// both a date and a time stores nothing and says MSG_DATE.
class SchedulePresenter {
public:
    SchedulePresenter(Session& session, ScheduleView& view);

    void applyLanguage();
    // Fills the controls from the settings (a fresh installation shows "Daily", switched off).
    void fill();

    void enabledClicked(bool ticked);
    void daySelected(int index);
    void dateChanged(std::optional<CalendarDate> date);
    void timeChanged(std::optional<TimeOfDay> time);
    void autoDeleteClicked(bool ticked);
    ScheduleApplied applyClicked();

    const ScheduleControls& controls() const { return m_editor.controls(); }

private:
    void show() { m_view.showControls(m_editor.controls()); }

    Session& m_session;
    ScheduleView& m_view;
    ScheduleEditor m_editor;
};

}  // namespace vedozer
