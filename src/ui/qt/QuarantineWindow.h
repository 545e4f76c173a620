#pragma once
#include <QDialog>

#include <functional>

#include "app/presenters/WindowViews.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace vedozer::qtui {

// The quarantined items and the restore points. Object names: quarantineWindow, quarantineList,
// replaceExisting, quarantineRestore, quarantineOpenFolder, quarantineOpenLog,
// quarantineViewExclusions, restorePointList, restorePointsNote, restorePointRestore,
// quarantineResults, quarantineClose.
class QuarantineWindow : public QDialog, public QuarantineView {
public:
    explicit QuarantineWindow(QWidget* owner);

    std::function<void(const std::vector<uint64_t>& items, const std::string& point)> onSelection;
    std::function<void(bool replace)> onRestore;
    std::function<void()> onRestorePoint;
    std::function<void()> onOpenFolder;
    std::function<void()> onOpenLog;
    std::function<void()> onViewExclusions;
    std::function<void()> onClose;

    void setCaption(CaptionId id, const std::string& text) override;
    void show() override;
    void close() override { QDialog::hide(); }
    void showItems(const std::vector<QuarantineRow>& rows) override;
    void showRestorePoints(const std::vector<RestorePointRow>& rows, bool keptHere) override;
    void showResults(const std::vector<std::string>& lines) override;
    void setActionEnabled(QuarantineAction action, bool enabled) override;

protected:
    void reject() override;  // Esc and the close button are Close

private:
    void selectionChanged();
    QPushButton* button(const char* name, std::function<void()>* handler);

    QLabel* m_itemsHeading;
    QTreeWidget* m_items;
    QCheckBox* m_replace;
    QPushButton* m_restore;
    QPushButton* m_openFolder;
    QPushButton* m_openLog;
    QPushButton* m_viewExclusions;
    QLabel* m_pointsHeading;
    QTreeWidget* m_points;
    QLabel* m_pointsNote;
    QPushButton* m_restorePoint;
    QLabel* m_results;
    QPushButton* m_close;
    std::vector<QuarantineRow> m_itemRows;
    std::vector<RestorePointRow> m_pointRows;
    bool m_filling = false;
};

}  // namespace vedozer::qtui
