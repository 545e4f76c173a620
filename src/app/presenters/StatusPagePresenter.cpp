#include "app/presenters/StatusPagePresenter.h"

#include <charconv>

#include "text/Text.h"

namespace vedozer {

namespace {

// A stored count shown with digit grouping; any other text as it is.
std::string grouped(const std::string& stored) {
    long long n = 0;
    auto [end, ec] = std::from_chars(stored.data(), stored.data() + stored.size(), n);
    if (ec != std::errc() || end != stored.data() + stored.size()) return stored;
    return text::groupDigits(n);
}

}  // namespace

StatusPagePresenter::StatusPagePresenter(Session& session, StatusPageView& view) : m_session(session), m_view(view) {}

void StatusPagePresenter::applyLanguage() {
    for (CaptionId id : captionsOf(CaptionGroup::StatusPage))
        m_view.setCaption(id, captionText(m_session.languages(), id));
}

void StatusPagePresenter::refresh() {
    m_summary = m_session.statusSummary();
    m_state.definitionCount = m_summary.definitionCount;
    m_state.version = m_summary.version;
    m_state.definitionDate = m_summary.definitionDate;
    m_state.removedTotal = grouped(m_summary.removedTotal);
    m_state.lastScan = m_summary.lastScan;
    m_state.lastCompleteScan = m_summary.lastCompleteScan;
    m_state.definitionsMissing = m_summary.definitionsMissing;
    m_view.showStatus(m_state);
}

void StatusPagePresenter::setActionEnabled(StatusAction action, bool enabled) { m_view.setActionEnabled(action, enabled); }

}  // namespace vedozer
