#pragma once
#include <QMainWindow>

#include <functional>
#include <map>

#include "app/presenters/MainWindowView.h"
#include "protection/BackgroundTimers.h"

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;

namespace vedozer::qtui {

class StatusPage;

// The main window: navigation on the left, the header band above the page, the four pages in
// a stack. Object names: nav<Command> for the navigation ("navScan", "navLiveUpdate" ...),
// header<Part> for the band, pageStack for the pages.
class MainWindow : public QMainWindow, public MainWindowView {
public:
    MainWindow();

    // The pages, in Page order.
    void setPages(StatusPage* status, QWidget* scan, QWidget* results, QWidget* options);

    std::function<void(MainCommand)> onCommand;
    std::function<void(bool shift, bool ctrl, bool alt)> onLiveUpdate;
    std::function<void()> onCloseRequested;
    std::function<void()> onQuit;  // the presenters have closed everything: leave the event loop
    std::function<void(WindowState, bool visible)> onStateChanged;

    void setTitle(const std::string& title) override;
    void setCaption(CaptionId id, const std::string& text) override;
    void showPage(Page page) override;
    void setCommandEnabled(MainCommand command, bool enabled) override;
    void setCommandVisible(MainCommand command, bool visible) override;
    void showHeader(const HeaderBand& header) override;
    void showWindow(bool maximized) override;
    bool isMaximized() const override { return QMainWindow::isMaximized(); }
    void hideWindow() override;
    void restoreWindow() override;
    void chooseLanguage() override;
    void quit() override;
    void showUpdateNotice(const std::string& text) override;

    bool quitting() const { return m_quitting; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* makeNavigation();
    QWidget* makeHeader();
    QPushButton* navButton(QWidget* parent, MainCommand command, const char* objectName, bool page);
    void showStateIcon();

    std::map<MainCommand, QPushButton*> m_buttons;
    QButtonGroup* m_pageButtons = nullptr;
    QPushButton* m_quarantineButton = nullptr;  // opens the menu below
    QMenu* m_quarantineMenu = nullptr;
    std::map<MainCommand, QAction*> m_menuActions;
    QStackedWidget* m_stack = nullptr;
    StatusPage* m_statusPage = nullptr;  // shows the welcome line and the website link
    QLabel* m_stateIcon = nullptr;
    QLabel* m_stateText = nullptr;
    QLabel* m_definitionsTitle = nullptr;
    QLabel* m_definitions = nullptr;
    QLabel* m_shieldsTitle = nullptr;
    QLabel* m_shields = nullptr;
    QLabel* m_lastScanTitle = nullptr;
    QLabel* m_lastScan = nullptr;
    StateIcon m_state = StateIcon::Ok;
    bool m_quitting = false;
};

}  // namespace vedozer::qtui
