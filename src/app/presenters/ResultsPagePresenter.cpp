#include "app/presenters/ResultsPagePresenter.h"

#include <algorithm>

#include "app/presenters/PresenterText.h"
#include "app/presenters/UndeletablePresenter.h"
#include "text/CodePage.h"
#include "text/Text.h"

namespace vedozer {

std::string resultsSummary(const Languages& languages, size_t threats, size_t traces) {
    auto counted = [&](size_t n, CaptionId one, CaptionId many) {
        return withCount(captionText(languages, n == 1 ? one : many), static_cast<int64_t>(n));
    };
    return counted(threats, CaptionId::SummaryThreat, CaptionId::SummaryThreats) + ", " +
           counted(traces, CaptionId::SummaryTrace, CaptionId::SummaryTraces);
}

int twipsToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }
int pixelsToTwips(int pixels, int dpi) { return dpi > 0 ? (pixels * 1440 + dpi / 2) / dpi : pixels * 15; }

ResultsPagePresenter::ResultsPagePresenter(Session& session, ResultsPageView& view, Navigator& navigator,
                                           UndeletablePresenter& undeletable)
    : m_session(session), m_view(view), m_navigator(navigator), m_undeletable(undeletable) {}

void ResultsPagePresenter::applyLanguage() {
    for (CaptionId id : captionsOf(CaptionGroup::ResultsPage))
        m_view.setCaption(id, captionText(m_session.languages(), id));
    refresh();
}

void ResultsPagePresenter::refresh() {
    const auto& list = m_session.results().removalList();
    m_order.resize(list.size());
    for (size_t i = 0; i < list.size(); ++i) m_order[i] = i;
    if (m_sortColumn) {
        auto field = [&](size_t i) -> const std::string& {
            const ThreatRecord& r = list[i];
            return *m_sortColumn == ResultsColumn::Name ? r.name : *m_sortColumn == ResultsColumn::Location ? r.location
                                                                                                           : r.type;
        };
        std::stable_sort(m_order.begin(), m_order.end(), [&](size_t a, size_t b) {
            std::string fa = text::toUpper(field(a)), fb = text::toUpper(field(b));
            return m_ascending ? fa < fb : fb < fa;
        });
    }
    showRows();
}

void ResultsPagePresenter::showRows() {
    const ScanResults& results = m_session.results();
    const auto& list = results.removalList();
    m_rows.clear();
    for (size_t i : m_order) {
        const ThreatRecord& r = list[i];
        m_rows.push_back(ResultRow{r.name, r.location, r.type, kindIcon(r.icon), r.checked});
    }
    m_view.showRows(m_rows);
    size_t traces = results.fileDetections().size() + results.registryDetections().size() +
                    results.cookieDetections().size();
    m_summary = resultsSummary(m_session.languages(), list.size(), traces);
    m_view.showSummary(m_summary);
    const Languages& l = m_session.languages();
    std::string empty;
    if (list.empty())
        empty = captionText(l, m_session.lastScan().scanFinished.empty() ? CaptionId::NoScanYet : CaptionId::NoThreatsFound);
    m_view.showEmptyText(empty);
    m_removalNote.clear();
    if (!list.empty() && !m_writeProblem.empty())
        m_removalNote = captionText(l, CaptionId::TargetRemovalNeedsRights) + " (" + text::utf8ToCp1252(m_writeProblem) + ")";
    m_view.showRemovalNote(m_removalNote);
    updateActions();
}

void ResultsPagePresenter::opened() {
    if (m_session.results().removalList().empty()) m_session.sendAnonymousData();
}

void ResultsPagePresenter::rowChecked(size_t shownRow, bool checked) {
    if (m_busy || shownRow >= m_order.size()) return;
    m_session.select(m_order[shownRow], checked);
    m_rows[shownRow].checked = checked;
    updateActions();
}

void ResultsPagePresenter::selectAllClicked() {
    if (m_busy) return;
    m_session.selectAll();
    showRows();
}

RemovalResult ResultsPagePresenter::deleteClicked() {
    if (m_busy) return RemovalResult{RemovalResult::Status::Busy, {}, {}};
    m_busy = true;
    setActionsEnabled(false, false, false);
    m_outcomes.clear();
    m_view.showOutcomes(m_outcomes);
    RemovalResult result = m_session.removeChecked();
    m_busy = false;
    showRemovalOutcome(result);
    return result;
}

void ResultsPagePresenter::showRemovalOutcome(const RemovalResult& result) {
    m_progress = RemovalProgressView{};
    m_view.showRemovalProgress(m_progress);
    m_outcomes.clear();
    const Languages& l = m_session.languages();
    for (const Detection& d : result.items) {
        if (d.outcome.isDone()) continue;
        CaptionId what = d.outcome.failed() ? CaptionId::OutcomeNotRemoved : CaptionId::OutcomeSkipped;
        m_outcomes.push_back(OutcomeRow{d.location, captionText(l, what), d.outcome.reason});
    }
    for (const std::string& note : result.notes) m_outcomes.push_back(OutcomeRow{"", "", note});
    m_view.showOutcomes(m_outcomes);
    if (result.ran() && !m_session.undeletable().empty()) m_undeletable.show(m_session.undeletable());
    refresh();
    if (result.ran()) m_navigator.refreshStatus();
}

ExclusionResult ResultsPagePresenter::excludeClicked() {
    if (m_busy) return ExclusionResult{ExclusionResult::Status::Declined, {}};
    ExclusionResult result = m_session.excludeChecked();
    m_outcomes.clear();
    for (const ItemOutcome& e : result.entries)
        if (e.outcome.failed())
            m_outcomes.push_back(
                OutcomeRow{e.item, captionText(m_session.languages(), CaptionId::OutcomeNotExcluded), e.outcome.reason});
    m_view.showOutcomes(m_outcomes);
    refresh();
    return result;
}

void ResultsPagePresenter::sortBy(ResultsColumn column) {
    m_ascending = m_sortColumn == column ? !m_ascending : true;
    m_sortColumn = column;
    m_view.showSortIndicator(column, m_ascending);
    refresh();
}

bool ResultsPagePresenter::actionEnabled(ResultsAction action) const { return m_actions[static_cast<int>(action)]; }

void ResultsPagePresenter::onRemovalProgress(const RemovalProgress& e) {
    m_progress = RemovalProgressView{true, e.percent, e.caption, e.item};
    m_view.showRemovalProgress(m_progress);
}

void ResultsPagePresenter::updateActions() {
    if (m_busy) return;
    const ScanResults& results = m_session.results();
    bool anyChecked = results.checkedCount() > 0;
    setActionsEnabled(!results.removalList().empty(), anyChecked, anyChecked);
}

void ResultsPagePresenter::setActionsEnabled(bool selectAll, bool remove, bool exclude) {
    const bool values[3] = {selectAll, remove, exclude};
    for (int i = 0; i < 3; ++i) {
        m_actions[i] = values[i];
        m_view.setActionEnabled(static_cast<ResultsAction>(i), values[i]);
    }
}

}  // namespace vedozer
