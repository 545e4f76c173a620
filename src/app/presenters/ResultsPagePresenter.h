#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/Session.h"
#include "app/presenters/DesktopHost.h"
#include "app/presenters/Navigator.h"
#include "app/presenters/ResultsPageView.h"

namespace vedozer {

class UndeletablePresenter;

// The results page: the list with its check boxes (sortable by any column), the summary line,
// Select All, Delete with its confirmation and removal progress, Exclude, and what became of
// the items that were not removed or not excluded. Row numbers are the rows as shown.
class ResultsPagePresenter : public HostListener {
public:
    ResultsPagePresenter(Session& session, ResultsPageView& view, Navigator& navigator,
                         UndeletablePresenter& undeletable);

    void applyLanguage();
    // Shows the session's results again (after a scan, a removal, an exclusion).
    void refresh();
    // The page was opened from the navigation: with nothing listed, the names of the running
    // programs are sent when the person allows it.
    void opened();

    void rowChecked(size_t shownRow, bool checked);
    void selectAllClicked();
    // Delete: asks, removes the checked items with progress, then shows what was not removed and
    // the undeletable list.
    RemovalResult deleteClicked();
    ExclusionResult excludeClicked();
    // A click on a column header: sorts by it, ascending first, then the other way.
    void sortBy(ResultsColumn column);

    // After a removal started elsewhere (a scheduled scan's automatic deletion).
    void showRemovalOutcome(const RemovalResult& result);

    // Why removals cannot change the system examined (a read-only mount, missing rights), in the
    // host's words; "" when they can. Said beside Delete while anything is listed.
    void setWriteProblem(std::string problem) { m_writeProblem = std::move(problem); }
    const std::string& removalNote() const { return m_removalNote; }

    const std::vector<ResultRow>& rows() const { return m_rows; }
    const std::string& summary() const { return m_summary; }
    const std::vector<OutcomeRow>& outcomes() const { return m_outcomes; }
    const RemovalProgressView& removalProgress() const { return m_progress; }
    bool actionEnabled(ResultsAction action) const;
    // The session's row behind a shown row.
    size_t sessionRow(size_t shownRow) const { return m_order.at(shownRow); }

    // Column widths in twips: from the saved options at start, to the settings at exit.
    void setColumnWidths(const std::vector<int>& twips) { m_view.setColumnWidths(twips); }
    std::vector<int> columnWidths() const { return m_view.columnWidths(); }
    static constexpr int kColumnCount = 3;

    void onRemovalProgress(const RemovalProgress& e) override;
    // A removal's summary notice: the outcome list and the undeletable window already say it.
    bool onNotice(const Notice&) override { return m_session.removalRunning(); }

private:
    void showRows();
    void updateActions();
    void setActionsEnabled(bool selectAll, bool remove, bool exclude);

    Session& m_session;
    ResultsPageView& m_view;
    Navigator& m_navigator;
    UndeletablePresenter& m_undeletable;
    std::vector<ResultRow> m_rows;
    std::vector<size_t> m_order;  // shown row -> session row
    std::optional<ResultsColumn> m_sortColumn;
    bool m_ascending = true;
    std::string m_summary;
    std::string m_writeProblem;
    std::string m_removalNote;
    std::vector<OutcomeRow> m_outcomes;
    RemovalProgressView m_progress;
    bool m_busy = false;
    bool m_actions[3] = {false, false, false};
};

// "10 threats, 18 traces" in the current language.
std::string resultsSummary(const Languages& languages, size_t threats, size_t traces);

}  // namespace vedozer
