#pragma once
#include <QDialog>

#include <functional>

#include "app/presenters/WindowViews.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace vedozer::qtui {

// Live Update in progress. Object names: liveUpdateWindow, liveUpdateStatus, liveUpdateBlink,
// liveUpdateProgress, liveUpdateCancel.
class LiveUpdateWindow : public QDialog, public LiveUpdateView {
public:
    explicit LiveUpdateWindow(QWidget* owner);

    std::function<void()> onCancel;

    void setCaption(CaptionId id, const std::string& text) override;
    void show() override;
    void close() override { QDialog::hide(); }
    void setStatusText(const std::string& text) override;
    void setBlinkText(const std::string& text) override;
    void showArrow(bool up) override;
    // The notification-area icon belongs to the Windows desktop; here the window itself shows.
    void showTrayIcon(const std::string&) override {}
    void removeTrayIcon() override {}

protected:
    void reject() override;  // Esc and the close button are Cancel

private:
    QLabel* m_arrow;
    QLabel* m_caption;
    QLabel* m_status;
    QLabel* m_blink;
    QProgressBar* m_busy;
    QPushButton* m_cancel;
};

}  // namespace vedozer::qtui
