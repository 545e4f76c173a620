#pragma once
#include <QWidget>

#include <functional>
#include <map>

#include "app/presenters/ScanPageView.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace vedozer::qtui {

class ElidedLabel;

// The scan page. Object names: scanHeading, scanStart, scanPause, scanStop, scanContinue,
// completeScan, quickScan, driveList, stageCaption, stageProgress, overallProgress, statusLine,
// memoryInspected, registryInspected, filesInspected, softwareFound, traces, runningPrograms,
// foundList.
class ScanPage : public QWidget, public ScanPageView {
public:
    enum class Action { Start, Pause, Stop, Continue };
    explicit ScanPage(QWidget* parent = nullptr);

    std::function<void(Action)> onAction;
    std::function<void(ScanModeChoice)> onScanMode;
    std::function<void(size_t row, bool checked)> onDriveChecked;

    void setCaption(CaptionId id, const std::string& text) override;
    void showProgress(const ScanPageState& state) override;
    void setControls(const ScanControls& controls) override;
    void clearFound() override;
    void addFound(const std::string& text, KindIcon icon) override;
    void showScanMode(ScanModeChoice mode, bool driveListVisible) override;
    void showDrives(const std::vector<DriveRow>& drives) override;

private:
    QPushButton* button(Action action, const char* name);

    QLabel* m_heading;
    std::map<Action, QPushButton*> m_buttons;
    QRadioButton* m_complete;
    QRadioButton* m_quick;
    QListWidget* m_drives;
    QLabel* m_driveCaption;
    QLabel* m_stage;
    QProgressBar* m_stageBar;
    QProgressBar* m_overallBar;
    ElidedLabel* m_statusLine;
    std::map<CaptionId, QLabel*> m_counterTitles;
    std::map<CaptionId, QLabel*> m_counters;  // by their titles' ids
    QLabel* m_foundCaption;
    QListWidget* m_found;
    bool m_filling = false;
};

}  // namespace vedozer::qtui
