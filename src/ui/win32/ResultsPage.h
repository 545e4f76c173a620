#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "app/presenters/ResultsPageView.h"
#include "ui/win32/DialogBase.h"
#include "ui/win32/ToolTips.h"

namespace vedozer::win32ui {

// The results page: the summary line, the list with check boxes and kind icons (sorted by a
// click on a column), Select All, Exclude and Delete, the removal's bar and what did not get done.
class ResultsPage : public DialogBase, public ResultsPageView {
public:
    ~ResultsPage() override;
    bool create(HWND mainWindow);

    void setCaption(CaptionId id, const std::string& text) override;
    void showRows(const std::vector<ResultRow>& rows) override;
    void showSummary(const std::string& summary) override;
    void showEmptyText(const std::string& text) override;
    void setActionEnabled(ResultsAction action, bool enabled) override;
    void showSortIndicator(ResultsColumn column, bool ascending) override;
    void showRemovalProgress(const RemovalProgressView& progress) override;
    void showOutcomes(const std::vector<OutcomeRow>& outcomes) override;
    void setColumnWidths(const std::vector<int>& twips) override;
    std::vector<int> columnWidths() const override;

    std::function<void(size_t row, bool checked)> onRowChecked;
    std::function<void(ResultsAction)> onAction;
    std::function<void(ResultsColumn)> onSort;

protected:
    void onInit() override;
    void onCommand(int id, int code) override;
    LRESULT onNotify(NMHDR* header) override;
    void onSize() override;
    bool windowBackground() const override { return true; }

private:
    int dialogUnitsY(int units) const;
    void fillWithLocation();

    HIMAGELIST m_images = nullptr;
    ToolTips m_tips;
    bool m_progressVisible = false;
    bool m_outcomesVisible = false;
    bool m_emptyVisible = false;
    int m_progressPercent = -1;
    int m_locationBase = -1;  // pixels the location column keeps at least
};

}  // namespace vedozer::win32ui
