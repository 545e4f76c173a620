#pragma once
#include <QWidget>

#include <functional>
#include <map>

#include "app/presenters/ResultsPageView.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTreeWidget;

namespace vedozer::qtui {

class ElidedLabel;

// The results page. Object names: resultsHeading, resultsSummary, resultsList (check boxes in
// the first column), resultsEmpty, outcomeList, removalCaption, removalItem, removalProgress,
// removalNote, selectAll, exclude, delete.
class ResultsPage : public QWidget, public ResultsPageView {
public:
    explicit ResultsPage(QWidget* parent = nullptr);

    std::function<void(size_t row, bool checked)> onRowChecked;
    std::function<void(ResultsAction)> onAction;
    std::function<void(ResultsColumn)> onSort;

    void setCaption(CaptionId id, const std::string& text) override;
    void showRows(const std::vector<ResultRow>& rows) override;
    void showSummary(const std::string& summary) override;
    void showEmptyText(const std::string& text) override;
    void setActionEnabled(ResultsAction action, bool enabled) override;
    void showSortIndicator(ResultsColumn column, bool ascending) override;
    void showRemovalProgress(const RemovalProgressView& progress) override;
    void showOutcomes(const std::vector<OutcomeRow>& outcomes) override;
    void showRemovalNote(const std::string& text) override;
    void setColumnWidths(const std::vector<int>& twips) override;
    std::vector<int> columnWidths() const override;

private:
    QLabel* m_heading;
    QLabel* m_summary;
    QStackedWidget* m_listOrEmpty;
    QTreeWidget* m_list;
    QLabel* m_empty;
    QTreeWidget* m_outcomes;
    QLabel* m_removalCaption;
    ElidedLabel* m_removalItem;
    QProgressBar* m_removalBar;
    QLabel* m_removalNote;
    std::map<ResultsAction, QPushButton*> m_actions;
    bool m_filling = false;
};

}  // namespace vedozer::qtui
