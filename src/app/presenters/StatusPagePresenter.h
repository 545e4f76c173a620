#pragma once
#include "app/Session.h"
#include "app/presenters/StatusPageView.h"

namespace vedozer {

// The status page: the definitions, the program version, the removed total and the last scans.
// Its actions are routed by the front end: Live Update and Scan Now to MainWindowPresenter,
// Show Report to ReportViewerPresenter.
class StatusPagePresenter {
public:
    StatusPagePresenter(Session& session, StatusPageView& view);

    void applyLanguage();
    // Reads the session's status summary and shows it (at start-up, after a scan, a removal
    // and Live Update).
    void refresh();
    void setActionEnabled(StatusAction action, bool enabled);

    const StatusPageState& state() const { return m_state; }
    const StatusSummary& summary() const { return m_summary; }

private:
    Session& m_session;
    StatusPageView& m_view;
    StatusSummary m_summary;
    StatusPageState m_state;
};

}  // namespace vedozer
