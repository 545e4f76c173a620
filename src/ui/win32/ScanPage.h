#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "app/presenters/ScanPageView.h"
#include "ui/win32/DialogBase.h"

namespace vedozer::win32ui {

// The scan page: Start, Pause and Stop, the scan mode and drive list, the stage line, the two
// bars, the status line (shortened in the middle), the counters and the found list.
class ScanPage : public DialogBase, public ScanPageView {
public:
    ~ScanPage() override;
    bool create(HWND mainWindow);

    void setCaption(CaptionId id, const std::string& text) override;
    void showProgress(const ScanPageState& state) override;
    void setControls(const ScanControls& controls) override;
    void clearFound() override;
    void addFound(const std::string& text, KindIcon icon) override;
    void showScanMode(ScanModeChoice mode, bool driveListVisible) override;
    void showDrives(const std::vector<DriveRow>& drives) override;

    enum class Action { Start, Pause, Stop, Continue };
    std::function<void(Action)> onAction;
    std::function<void(ScanModeChoice)> onScanMode;
    std::function<void(size_t row, bool checked)> onDriveChecked;

protected:
    void onInit() override;
    void onCommand(int id, int code) override;
    LRESULT onNotify(NMHDR* header) override;
    void onSize() override;
    bool windowBackground() const override { return true; }

private:
    HIMAGELIST m_images = nullptr;
    int m_stagePercent = -1, m_overallPercent = -1;
};

// The image index of a kind icon in the kind image list; -1 for none.
int kindImageIndex(KindIcon icon);

}  // namespace vedozer::win32ui
