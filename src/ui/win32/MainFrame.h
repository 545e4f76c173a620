#pragma once
#include <array>
#include <functional>
#include <string>

#include "app/presenters/MainWindowView.h"
#include "ui/win32/MainWindow.h"

namespace vedozer::win32ui {

class StatusPage;

// The main window as its presenter sees it: title, captions, the current page, which commands
// are enabled, the header band, the window's state and the notification-area icon.
class MainFrame : public MainWindowView {
public:
    MainFrame(MainWindow& window, StatusPage& statusPage);
    ~MainFrame() override;

    void setTitle(const std::string& title) override;
    void setCaption(CaptionId id, const std::string& text) override;
    void showPage(Page page) override;
    void setCommandEnabled(MainCommand command, bool enabled) override;
    void showHeader(const HeaderBand& header) override;
    void showWindow(bool maximized) override;
    bool isMaximized() const override;
    void hideWindow() override;
    void restoreWindow() override;
    void chooseLanguage() override;
    void showUpdateNotice(const std::string& text) override;
    void quit() override;

    // The person asked for a command (navigation, header and menu clicks).
    std::function<void(MainCommand)> onCommand;
    // Live Update with the modifier keys held at the click.
    std::function<void(bool shift, bool ctrl, bool alt)> onLiveUpdate;
    // A mouse message of the notification-area icon (WM_LBUTTONDOWN, WM_RBUTTONDOWN, ...).
    std::function<void(UINT mouseMessage)> onTrayIcon;
    // The language window is asked for (modal: returns once it has closed).
    std::function<void()> onChooseLanguage;
    // The presenters have closed everything: the program ends.
    std::function<void()> onQuit;

    // A message of the main window that belongs to the frame (the tray icon's); true when handled.
    bool handleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    // The notification-area icon, owned by the main window, calls it back with this message.
    static constexpr UINT kTrayMessage = WM_APP + 1;

private:
    void navigationClicked(int controlId);
    void showQuarantineMenu();

    MainWindow& m_window;
    StatusPage& m_statusPage;
    std::array<std::string, 3> m_menuTexts{"View Quarantine", "View Exclusions", "Quarantined Items and Restore Points..."};
    std::array<bool, static_cast<size_t>(MainCommand::Exit) + 1> m_enabled{};
};

}  // namespace vedozer::win32ui
