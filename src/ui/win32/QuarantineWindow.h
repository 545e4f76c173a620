#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/presenters/WindowViews.h"
#include "ui/win32/DialogBase.h"

namespace vedozer::win32ui {

// The quarantine window: what removals kept (restorable while still held) and the restore
// points made before removals. Modeless.
class QuarantineWindow : public DialogBase, public QuarantineView {
public:
    bool create(HWND owner);
    void setCaption(CaptionId id, const std::string& text) override;
    void show() override;
    void close() override;
    void showItems(const std::vector<QuarantineRow>& rows) override;
    void showRestorePoints(const std::vector<RestorePointRow>& rows, bool keptHere) override;
    void showResults(const std::vector<std::string>& lines) override;
    void setActionEnabled(QuarantineAction action, bool enabled) override;

    std::function<void(const std::vector<uint64_t>& items, const std::string& restorePoint)> onSelection;
    std::function<void(bool replace)> onRestore;
    std::function<void()> onRestorePoint, onOpenFolder, onOpenLog, onViewExclusions, onClose;

protected:
    void onInit() override;
    void onCommand(int id, int code) override;
    LRESULT onNotify(NMHDR* header) override;
    void onSize() override;

private:
    void selectionChanged();

    std::vector<QuarantineRow> m_items;
    std::vector<RestorePointRow> m_points;
    bool m_restorePointsKeptHere = true;
};

}  // namespace vedozer::win32ui
