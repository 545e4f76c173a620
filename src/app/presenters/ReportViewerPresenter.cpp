#include "app/presenters/ReportViewerPresenter.h"

#include "report/ScanReport.h"

namespace vedozer {

ReportViewerPresenter::ReportViewerPresenter(Session& session, ReportView& view) : m_session(session), m_view(view) {}

void ReportViewerPresenter::applyLanguage() {
    for (CaptionId id : captionsOf(CaptionGroup::Report)) m_view.setCaption(id, captionText(m_session.languages(), id));
    m_view.setTitle(captionText(m_session.languages(), CaptionId::ReportTitle));
}

void ReportViewerPresenter::open() {
    if (m_open) return;
    m_open = true;
    if (m_enableCommands) m_enableCommands(false);
    m_text = loadReportViewerText(m_session.dataFiles(), m_session.dataFolder());
    m_view.setTitle(captionText(m_session.languages(), CaptionId::ReportTitle));
    m_view.setText(m_text);
    m_view.showModal();
    m_open = false;
    if (m_enableCommands) m_enableCommands(true);
}

}  // namespace vedozer
