#include "ui/qt/MainWindow.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "ui/qt/Artwork.h"
#include "ui/qt/QtText.h"
#include "ui/qt/StatusPage.h"

namespace vedozer::qtui {

MainWindow::MainWindow() {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowIcon(productIcon());
    auto* central = new QWidget(this);
    auto* outer = new QHBoxLayout(central);
    outer->addWidget(makeNavigation());
    auto* right = new QVBoxLayout;
    right->addWidget(makeHeader());
    m_stack = new QStackedWidget(central);
    m_stack->setObjectName(QStringLiteral("pageStack"));
    right->addWidget(m_stack, 1);
    outer->addLayout(right, 1);
    setCentralWidget(central);
    setMinimumSize(760, 520);
    resize(900, 620);
}

QPushButton* MainWindow::navButton(QWidget* parent, MainCommand command, const char* objectName, bool page) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QLatin1String(objectName));
    b->setCheckable(page);
    b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_buttons[command] = b;
    if (command == MainCommand::LiveUpdate) {
        connect(b, &QPushButton::clicked, this, [this] {
            Qt::KeyboardModifiers m = QApplication::keyboardModifiers();
            if (onLiveUpdate) onLiveUpdate(m & Qt::ShiftModifier, m & Qt::ControlModifier, m & Qt::AltModifier);
        });
    } else {
        connect(b, &QPushButton::clicked, this, [this, command] {
            if (onCommand) onCommand(command);
        });
    }
    return b;
}

QWidget* MainWindow::makeNavigation() {
    auto* nav = new QFrame(this);
    nav->setObjectName(QStringLiteral("navigation"));
    auto* v = new QVBoxLayout(nav);
    v->setContentsMargins(0, 0, 0, 0);
    m_pageButtons = new QButtonGroup(this);
    m_pageButtons->setExclusive(true);
    const std::pair<MainCommand, const char*> pages[] = {{MainCommand::StatusPage, "navStatus"},
                                                         {MainCommand::ScanPage, "navScan"},
                                                         {MainCommand::ResultsPage, "navResults"},
                                                         {MainCommand::OptionsPage, "navOptions"}};
    for (const auto& [command, name] : pages) {
        QPushButton* b = navButton(nav, command, name, true);
        b->setMinimumHeight(b->sizeHint().height() * 3 / 2);
        m_pageButtons->addButton(b);
        v->addWidget(b);
    }
    v->addSpacing(16);
    navButton(nav, MainCommand::LiveUpdate, "navLiveUpdate", false);
    navButton(nav, MainCommand::ViewReport, "navReport", false);
    // The quarantine button opens a menu: the folder, the exclusion list, the quarantine window.
    auto* quarantine = new QPushButton(nav);
    quarantine->setObjectName(QStringLiteral("navQuarantine"));
    m_quarantineButton = quarantine;
    m_quarantineMenu = new QMenu(quarantine);
    m_quarantineMenu->setObjectName(QStringLiteral("quarantineMenu"));
    const std::pair<MainCommand, const char*> items[] = {{MainCommand::QuarantineWindow, "menuQuarantineWindow"},
                                                         {MainCommand::ViewQuarantine, "menuViewQuarantine"},
                                                         {MainCommand::ViewExclusions, "menuViewExclusions"}};
    for (const auto& [command, name] : items) {
        QAction* a = m_quarantineMenu->addAction(QString());
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, [this, command = command] {
            if (onCommand) onCommand(command);
        });
        m_menuActions[command] = a;
    }
    quarantine->setMenu(m_quarantineMenu);
    navButton(nav, MainCommand::SubmitFile, "navSubmit", false);
    v->addWidget(m_buttons[MainCommand::LiveUpdate]);
    v->addWidget(m_buttons[MainCommand::ViewReport]);
    v->addWidget(quarantine);
    v->addWidget(m_buttons[MainCommand::SubmitFile]);
    v->addStretch(1);
    v->addWidget(navButton(nav, MainCommand::SendToTray, "navSendToTray", false));
    v->addWidget(navButton(nav, MainCommand::Exit, "navExit", false));
    return nav;
}

QWidget* MainWindow::makeHeader() {
    auto* band = new QFrame(this);
    band->setObjectName(QStringLiteral("headerBand"));
    band->setFrameShape(QFrame::StyledPanel);
    band->setBackgroundRole(QPalette::Base);
    band->setAutoFillBackground(true);
    auto* grid = new QGridLayout(band);
    m_stateIcon = new QLabel(band);
    m_stateIcon->setObjectName(QStringLiteral("headerStateIcon"));
    grid->addWidget(m_stateIcon, 0, 0, 4, 1, Qt::AlignTop);
    m_stateText = new QLabel(band);
    m_stateText->setObjectName(QStringLiteral("headerState"));
    QFont bold = m_stateText->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    m_stateText->setFont(bold);
    grid->addWidget(m_stateText, 0, 1, 1, 2);
    auto row = [&](int r, QLabel*& title, QLabel*& value, const char* titleName, const char* valueName) {
        title = new QLabel(band);
        title->setObjectName(QLatin1String(titleName));
        value = new QLabel(band);
        value->setObjectName(QLatin1String(valueName));
        value->setTextFormat(Qt::PlainText);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setWordWrap(true);
        grid->addWidget(title, r, 1, Qt::AlignTop);
        grid->addWidget(value, r, 2);
    };
    row(1, m_definitionsTitle, m_definitions, "headerDefinitionsTitle", "headerDefinitions");
    row(2, m_shieldsTitle, m_shields, "headerShieldsTitle", "headerShields");
    row(3, m_lastScanTitle, m_lastScan, "headerLastScanTitle", "headerLastScan");
    grid->setColumnStretch(2, 1);
    auto* corner = new QVBoxLayout;
    corner->addWidget(navButton(band, MainCommand::Help, "navHelp", false));
    corner->addWidget(navButton(band, MainCommand::About, "navAbout", false));
    corner->addStretch(1);
    grid->addLayout(corner, 0, 3, 4, 1);
    return band;
}

void MainWindow::setPages(StatusPage* status, QWidget* scan, QWidget* results, QWidget* options) {
    m_statusPage = status;
    for (QWidget* page : {static_cast<QWidget*>(status), scan, results, options}) m_stack->addWidget(page);
}

void MainWindow::setTitle(const std::string& title) { setWindowTitle(fromCodePage(title)); }

void MainWindow::setCaption(CaptionId id, const std::string& text) {
    const QString t = fromCodePage(text);
    auto button = [&](MainCommand c) {
        if (QPushButton* b = m_buttons[c]) b->setText(t);
    };
    switch (id) {
    case CaptionId::NavStatus: return button(MainCommand::StatusPage);
    case CaptionId::NavScan: return button(MainCommand::ScanPage);
    case CaptionId::NavResults: return button(MainCommand::ResultsPage);
    case CaptionId::NavOptions: return button(MainCommand::OptionsPage);
    case CaptionId::NavLiveUpdate: return button(MainCommand::LiveUpdate);
    case CaptionId::NavReport: return button(MainCommand::ViewReport);
    case CaptionId::NavQuarantine: m_quarantineButton->setText(t); return;
    case CaptionId::MenuViewQuarantine: m_menuActions[MainCommand::ViewQuarantine]->setText(t); return;
    case CaptionId::MenuViewExclusions: m_menuActions[MainCommand::ViewExclusions]->setText(t); return;
    case CaptionId::MenuQuarantineWindow: m_menuActions[MainCommand::QuarantineWindow]->setText(t); return;
    case CaptionId::NavSubmit: return button(MainCommand::SubmitFile);
    case CaptionId::NavHelp: return button(MainCommand::Help);
    case CaptionId::NavAbout: return button(MainCommand::About);
    case CaptionId::SendToTray: return button(MainCommand::SendToTray);
    case CaptionId::Exit: return button(MainCommand::Exit);
    case CaptionId::HeaderDefinitions: m_definitionsTitle->setText(t); return;
    case CaptionId::HeaderShields: m_shieldsTitle->setText(t); return;
    case CaptionId::HeaderLastScan: m_lastScanTitle->setText(t); return;
    case CaptionId::StateIconTooltip: m_stateIcon->setToolTip(withoutMnemonic(t)); return;
    case CaptionId::Welcome: m_statusPage->setWelcome(withoutMnemonic(t)); return;
    case CaptionId::Website: m_statusPage->setWebsiteCaption(t); return;
    default: return;  // the language window is not offered here; the website link is the status page's
    }
}

void MainWindow::showPage(Page page) {
    const MainCommand commands[] = {MainCommand::StatusPage, MainCommand::ScanPage, MainCommand::ResultsPage,
                                    MainCommand::OptionsPage};
    const int index = static_cast<int>(page);
    m_stack->setCurrentIndex(index);
    if (QPushButton* b = m_buttons[commands[index]]) b->setChecked(true);
}

void MainWindow::setCommandEnabled(MainCommand command, bool enabled) {
    auto b = m_buttons.find(command);
    if (b != m_buttons.end()) b->second->setEnabled(enabled);
    auto a = m_menuActions.find(command);
    if (a != m_menuActions.end()) a->second->setEnabled(enabled);
}

void MainWindow::setCommandVisible(MainCommand command, bool visible) {
    auto b = m_buttons.find(command);
    if (b != m_buttons.end()) b->second->setVisible(visible);
}

void MainWindow::showHeader(const HeaderBand& header) {
    m_definitions->setText(fromCodePage(header.definitions));
    m_shields->setText(fromCodePage(header.shields));
    m_lastScan->setText(fromCodePage(header.lastScan));
    m_stateText->setText(fromCodePage(header.stateText));
    m_state = header.state;
    showStateIcon();
}

void MainWindow::showStateIcon() {
    const int size = fontMetrics().height() * 2;
    m_stateIcon->setPixmap(stateIcon(m_state, size, devicePixelRatioF()));
    m_stateIcon->setAccessibleName(m_stateText->text());
}

void MainWindow::showWindow(bool maximized) {
    if (maximized)
        showMaximized();
    else
        show();
    raise();
    activateWindow();
}

// Hidden and restored only through a notification area, which this desktop does not offer (the
// presenter hides the command): kept plain for completeness.
void MainWindow::hideWindow() { hide(); }

void MainWindow::restoreWindow() {
    showNormal();
    raise();
    activateWindow();
}

void MainWindow::chooseLanguage() {
    // No language window in this version: the navigation does not offer the command.
}

void MainWindow::quit() {
    m_quitting = true;
    hide();
    // Leaves the event loop only: the windows are closed by their presenters already.
    if (onQuit) onQuit();
}

void MainWindow::showUpdateNotice(const std::string& text) {
    QMessageBox box(QMessageBox::Information, windowTitle(), fromCodePage(text), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("noticeBox"));
    box.exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_quitting) {
        event->accept();
        return;
    }
    // The presenters decide: the window closes once everything is saved and closed.
    event->ignore();
    if (onCloseRequested) onCloseRequested();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && onStateChanged && !m_quitting) {
        WindowState state = isMinimized() ? WindowState::Minimised
                            : QMainWindow::isMaximized() ? WindowState::Maximised
                                                         : WindowState::Normal;
        onStateChanged(state, isVisible());
    }
    // A screen of another scaling, or another font: the icon is drawn again at its size.
    if (event->type() == QEvent::ScreenChangeInternal || event->type() == QEvent::FontChange) showStateIcon();
}

}  // namespace vedozer::qtui
