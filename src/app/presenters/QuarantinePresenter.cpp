#include "app/presenters/QuarantinePresenter.h"

#include <algorithm>

namespace vedozer {

QuarantinePresenter::QuarantinePresenter(Session& session, QuarantineView& view) : m_session(session), m_view(view) {}

void QuarantinePresenter::applyLanguage() {
    for (CaptionId id : captionsOf(CaptionGroup::Quarantine)) m_view.setCaption(id, captionText(m_session.languages(), id));
    if (m_open) refresh();
}

Outcome QuarantinePresenter::viewQuarantineFolder() {
    Outcome o = m_session.openQuarantineFolder();
    tellIfFailed(o);
    return o;
}

Outcome QuarantinePresenter::viewExclusions() {
    Outcome o = m_session.openExclusionList();  // says so itself when there is no list yet
    tellIfFailed(o);
    return o;
}

void QuarantinePresenter::openWindow() {
    m_open = true;
    m_results.clear();
    m_view.showResults(m_results);
    m_selectedItems.clear();
    m_selectedPoint.clear();
    refresh();
    m_view.show();
}

void QuarantinePresenter::closeClicked() {
    m_open = false;
    m_view.close();
}

void QuarantinePresenter::selectionChanged(const std::vector<uint64_t>& items, const std::string& restorePoint) {
    m_selectedItems = items;
    m_selectedPoint = restorePoint;
    updateActions();
}

void QuarantinePresenter::restoreClicked(bool replace) {
    if (m_selectedItems.empty()) return;
    m_results.clear();
    for (const QuarantineRestoreResult& r : m_session.restoreQuarantined(m_selectedItems, replace))
        m_results.push_back(r.message);
    m_view.showResults(m_results);
    m_selectedItems.clear();
    refresh();
}

void QuarantinePresenter::restorePointClicked() {
    if (m_selectedPoint.empty() || !m_session.restorePointsKeptHere()) return;
    const Languages& l = m_session.languages();
    Question q = l.questionWithText(QuestionKind::ConfirmRestorePoint,
                                    captionText(l, CaptionId::ConfirmRestorePoint) + "\r\n\r\n" + m_selectedPoint,
                                    Buttons::YesNo, QuestionIcon::Question);
    if (m_session.host().ask(q) != Answer::Yes) return;
    Outcome o = m_session.restoreRestorePoint(m_selectedPoint);
    m_results = {o.isDone() ? m_selectedPoint + ": " + captionText(l, CaptionId::QuarantineStateRestored)
                            : m_selectedPoint + ": " + o.reason};
    m_view.showResults(m_results);
    refresh();
}

void QuarantinePresenter::openLogClicked() {
    Outcome o = m_session.openQuarantineLog();
    if (o.status == OutcomeStatus::Skipped)
        m_session.host().onNotice(Notice{NoticeKind::Info, upperFirst(o.reason) + "."});
    tellIfFailed(o);
}

void QuarantinePresenter::refresh() {
    m_items.clear();
    for (const QuarantineEntry& e : m_session.quarantineItems()) {
        std::string location = e.location;
        if (e.kind == QuarantineKind::RegistryValue) location += " [" + e.valueName + "]";
        m_items.push_back(QuarantineRow{e.id, e.time, quarantineKindName(e.kind), location, e.spywareName, stateText(e),
                                        !e.restored && !e.withdrawn});
    }
    // Newest first, as a person looks for what was just removed.
    std::reverse(m_items.begin(), m_items.end());
    m_view.showItems(m_items);
    m_points.clear();
    bool keptHere = m_session.restorePointsKeptHere();
    if (keptHere)
        for (const RestorePointInfo& p : m_session.restorePoints()) {
            std::string holds;
            for (const std::string& d : p.details) holds += (holds.empty() ? "" : "; ") + d;
            m_points.push_back(RestorePointRow{p.name, p.began, holds});
        }
    m_view.showRestorePoints(m_points, keptHere);
    updateActions();
}

void QuarantinePresenter::tellIfFailed(const Outcome& outcome) {
    if (outcome.failed()) m_session.host().onNotice(Notice{NoticeKind::Error, upperFirst(outcome.reason) + "."});
}

void QuarantinePresenter::updateActions() {
    bool restorable = false;
    for (const QuarantineRow& r : m_items)
        for (uint64_t id : m_selectedItems)
            if (r.id == id && r.restorable) restorable = true;
    m_view.setActionEnabled(QuarantineAction::Restore, restorable);
    m_view.setActionEnabled(QuarantineAction::RestorePoint, m_session.restorePointsKeptHere() && !m_selectedPoint.empty());
}

std::string QuarantinePresenter::stateText(const QuarantineEntry& e) const {
    const Languages& l = m_session.languages();
    if (e.restored) return captionText(l, CaptionId::QuarantineStateRestored) + " " + e.restoredTime;
    if (e.withdrawn) return captionText(l, CaptionId::QuarantineStateWithdrawn);
    return captionText(l, CaptionId::QuarantineStateHeld);
}

}  // namespace vedozer
