#include "ui/qt/QtDesktopApp.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>

#include <unistd.h>

#include <iostream>

#include "app/presenters/Desktop.h"
#include "app/presenters/SplashPresenter.h"
#include "app/presenters/TargetChooserPresenter.h"
#include "platform/image/ImageInstallations.h"
#include "platform/image/ImagePlatform.h"
#include "platform/image/IniSettingsStore.h"
#include "text/CodePage.h"
#include "ui/qt/LiveUpdateWindow.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/OptionsPage.h"
#include "ui/qt/PumpingHttp.h"
#include "ui/qt/QtDialogs.h"
#include "ui/qt/QtText.h"
#include "ui/qt/QtTimers.h"
#include "ui/qt/QuarantineWindow.h"
#include "ui/qt/ReportWindow.h"
#include "ui/qt/ResultsPage.h"
#include "ui/qt/ScanPage.h"
#include "ui/qt/SmallWindows.h"
#include "ui/qt/StatusPage.h"
#include "ui/qt/TargetWindow.h"
#include "ui/qt/UndeletableWindow.h"

namespace vedozer::qtui {

namespace {

std::filesystem::path userConfigDir(const GuiOptions& o) {
    return o.configDir.empty() ? IniSettingsStore::defaultUserConfigDir() : std::filesystem::path(o.configDir);
}

std::filesystem::path machineConfigDir(const GuiOptions& o) {
    return o.machineConfigDir.empty() ? std::filesystem::path("/etc/vedozer") : std::filesystem::path(o.machineConfigDir);
}

// The system examined as the title names it: its drive C: folder.
std::string systemName(const InstallationChoice& choice) { return text::utf8ToCp1252(choice.systemDrive); }

}  // namespace

QtDesktopApp::QtDesktopApp(GuiOptions options) : m_options(std::move(options)) {
    QApplication::setQuitOnLastWindowClosed(false);
}

QtDesktopApp::~QtDesktopApp() {
    if (m_timers) m_timers->detachAll();
    m_splashPresenter.reset();
    m_desktop.reset();
    m_splash.reset();
    m_main.reset();
    // A transfer left to finish on its own still uses the backend's client: the backend stays.
    if (m_http && m_http->transfersLeft()) {
        (void)m_http.release();
        (void)m_platform.release();
    }
}

void QtDesktopApp::start() {
    const ProductIdentity identity = ProductIdentity::fromBuild();
    m_store = std::make_unique<IniSettingsStore>(userConfigDir(m_options), machineConfigDir(m_options));
    m_installations = std::make_unique<ImageInstallations>(m_options.mountInfo);
    m_startLanguages = std::make_unique<Languages>(identity);
    m_startLanguages->loadDefaultMessages();
    m_targetWindow = std::make_unique<TargetWindow>();
    m_chooser = std::make_unique<TargetChooserPresenter>(*m_installations, *m_store, *m_startLanguages, *m_targetWindow,
                                                         ::geteuid() == 0);
    TargetWindow& w = *m_targetWindow;
    TargetChooserPresenter& p = *m_chooser;
    w.onMounted = [&p](size_t row) { p.mountedChosen(row); };
    w.onRecent = [&p](size_t row) { p.recentChosen(row); };
    w.onFolder = [&p](const std::string& folder) { p.folderChanged(folder); };
    w.freeLetters = [&p] { return p.freeLetters(); };
    w.onAddDrive = [&p](const std::string& letter, const std::string& folder) { p.driveAdded(letter, folder); };
    w.onRemoveDrive = [&p](size_t row) { p.driveRemoved(row); };
    w.onProfile = [&p](int index) { p.profileChosen(index); };
    w.onUseSuggestion = [&p] { p.useSuggestionClicked(); };
    w.onOpen = [&p] { p.openClicked(); };
    QObject::connect(&w, &QDialog::finished, &w, [this](int result) {
        if (result == QDialog::Accepted)
            // Out of the click that accepted: the start window's presenter may go meanwhile.
            QTimer::singleShot(0, m_targetWindow.get(), [this] {
                openInstallation(m_chooser->choice(), m_chooser->lastCheck().writeProblem);
            });
        else if (!m_desktop)
            finish();
    });

    p.open(m_options.choice);
    // An installation named on the command line opens at once when it can.
    if (!m_options.choice.systemDrive.empty() && p.openClicked()) return;
    w.show();
}

void QtDesktopApp::finish() {
    m_finished = true;
    if (m_leaveLoop) m_leaveLoop();
}

void QtDesktopApp::openInstallation(const InstallationChoice& choice, const std::string& writeProblem) {
    ImageConfig config;
    config.systemDrive = choice.systemDrive;
    config.otherDrives = choice.otherDrives;
    config.user = choice.user;
    config.dataFolder = m_options.dataDir;
    config.configDir = m_options.configDir;
    config.machineConfigDir = m_options.machineConfigDir;
    std::string error;
    m_platform = ImagePlatform::create(config, error);
    if (!m_platform) {
        // Changed since it was checked (unmounted meanwhile): back to the choice.
        m_targetWindow->showProblem(error, false);
        m_targetWindow->show();
        return;
    }
    m_warnings = m_platform->warnings();
    Platform& platform = m_platform->platform();
    if (platform.http) {
        m_http = std::make_unique<PumpingHttp>(*platform.http);
        platform.http = m_http.get();
    }
    createViews();

    DesktopConfig desktopConfig;
    desktopConfig.program = ProgramLocation{toUtf8(QCoreApplication::applicationDirPath()), "vedozer-gui", ""};
    desktopConfig.features = DesktopFeatures{false, false, false};
    desktopConfig.systemName = systemName(choice);
    desktopConfig.writeProblem = writeProblem;
    desktopConfig.installShippedDefinitions = true;
    DesktopViews views{*m_main,        *m_status, *m_scan,   *m_results, *m_optionsPage, *m_undeletable, *m_liveUpdate,
                       *m_report,      *m_quarantine, *m_submit, *m_about, *m_help,        *m_dialogs};
    m_desktop = std::make_unique<Desktop>(platform, views, desktopConfig);
    m_dialogs->setProgramName(desktopConfig.identity.programName);
    connectViews();
    connectWindows();

    m_splash = std::make_unique<SplashWindow>();
    m_splashPresenter = std::make_unique<SplashPresenter>(*m_splash, [this] {
        // Out of the splash timer's tick: loading turns the event loop (and may ask questions).
        QTimer::singleShot(0, m_main.get(), [this] { loadMainWindow(); });
    });
    m_timers->attach(m_splashPresenter->timer());
    const Languages& languages = m_desktop->session().languages();
    m_splashPresenter->start(desktopConfig.identity.programName,
                             captionText(languages, CaptionId::AboutVersion) + " " + programVersion(),
                             captionText(languages, CaptionId::SplashLoading));
}

void QtDesktopApp::createViews() {
    m_dialogs = std::make_unique<QtDialogs>();
    m_main = std::make_unique<MainWindow>();
    m_status = new StatusPage(m_main.get());
    m_scan = new ScanPage(m_main.get());
    m_results = new ResultsPage(m_main.get());
    m_optionsPage = new OptionsPage(m_main.get());
    m_main->setPages(m_status, m_scan, m_results, m_optionsPage);
    m_undeletable = new UndeletableWindow(m_main.get());
    m_liveUpdate = new LiveUpdateWindow(m_main.get());
    m_report = new ReportWindow(m_main.get());
    m_quarantine = new QuarantineWindow(m_main.get());
    m_submit = new SubmitWindow(m_main.get());
    m_about = new AboutWindow(m_main.get());
    m_help = new HelpWindow(m_main.get());
    m_dialogs->setOwner(m_main.get());
    m_timers = std::make_unique<QtTimers>();
}

void QtDesktopApp::call(const std::function<void()>& work) {
    if (m_closed) return;
    ++m_busy;
    work();
    --m_busy;
    if (m_busy == 0 && m_closePending) finishClose();
}

void QtDesktopApp::requestClose() {
    if (m_closed) return;
    if (m_busy > 0) {
        // Long work is running beneath this click: stop it and close once it has returned.
        m_closePending = true;
        m_desktop->session().requestStop();
        if (m_http) m_http->abandon();
        return;
    }
    finishClose();
}

void QtDesktopApp::finishClose() {
    if (m_closed) return;
    m_closePending = false;
    m_closed = true;
    // The presenters save what is kept at exit and close every window; the main window's quit()
    // then ends the loop.
    m_desktop->close();
    m_timers->detachAll();
    m_finished = true;
    if (!m_main->quitting() && m_leaveLoop) m_leaveLoop();
}

void QtDesktopApp::connectViews() {
    Desktop& d = *m_desktop;
    MainWindow& main = *m_main;
    main.onCommand = [this, &d](MainCommand command) {
        // Exit is the window's close: it waits for work beneath to stop.
        if (command == MainCommand::Exit) return requestClose();
        call([&] { d.main().commandClicked(command); });
    };
    main.onLiveUpdate = [this, &d](bool shift, bool ctrl, bool alt) {
        call([&] { d.main().liveUpdatePressed(shift, ctrl, alt); });
    };
    main.onCloseRequested = [this] { requestClose(); };
    main.onQuit = [this] {
        if (m_leaveLoop) m_leaveLoop();
    };
    main.onStateChanged = [this, &d](WindowState state, bool visible) {
        call([&] { d.main().windowStateChanged(state, visible); });
    };

    m_status->onAction = [this, &d](StatusAction action) {
        call([&] {
            switch (action) {
            case StatusAction::LiveUpdate: {
                Qt::KeyboardModifiers m = QApplication::keyboardModifiers();
                d.main().liveUpdatePressed(m & Qt::ShiftModifier, m & Qt::ControlModifier, m & Qt::AltModifier);
                break;
            }
            case StatusAction::ScanNow: d.main().scanNow(); break;
            case StatusAction::ShowReport: d.report().open(); break;
            }
        });
    };
    m_status->onWebsite = [this, &d] { call([&] { d.about().websiteClicked(); }); };

    m_scan->onAction = [this, &d](ScanPage::Action action) {
        call([&] {
            switch (action) {
            case ScanPage::Action::Start: d.scanPage().startClicked(); break;
            case ScanPage::Action::Pause: d.scanPage().pauseClicked(); break;
            case ScanPage::Action::Stop: d.scanPage().stopClicked(); break;
            case ScanPage::Action::Continue: d.scanPage().continueClicked(); break;
            }
        });
    };
    m_scan->onScanMode = [this, &d](ScanModeChoice mode) { call([&] { d.scanPage().scanModeChosen(mode); }); };
    m_scan->onDriveChecked = [this, &d](size_t row, bool checked) { call([&] { d.scanPage().driveChecked(row, checked); }); };

    m_results->onRowChecked = [this, &d](size_t row, bool checked) { call([&] { d.resultsPage().rowChecked(row, checked); }); };
    m_results->onAction = [this, &d](ResultsAction action) {
        call([&] {
            switch (action) {
            case ResultsAction::SelectAll: d.resultsPage().selectAllClicked(); break;
            case ResultsAction::Delete: d.resultsPage().deleteClicked(); break;
            case ResultsAction::Exclude: d.resultsPage().excludeClicked(); break;
            }
        });
    };
    m_results->onSort = [this, &d](ResultsColumn column) { call([&] { d.resultsPage().sortBy(column); }); };

    m_optionsPage->onOption = [this, &d](OptionControl c, bool checked) { call([&] { d.optionsPage().optionClicked(c, checked); }); };
    m_optionsPage->onTab = [this, &d](int tab) { call([&] { d.optionsPage().tabSelected(tab); }); };

    m_timers->setTickWrapper([this](const std::function<void()>& tick) { call(tick); });
    for (LogicalTimer* timer : d.timers()) m_timers->attach(*timer);
}

void QtDesktopApp::connectWindows() {
    Desktop& d = *m_desktop;
    m_undeletable->onOk = [this, &d] { call([&] { d.undeletable().okClicked(); }); };
    m_undeletable->onCopyList = [this, &d] { call([&] { d.undeletable().copyListClicked(); }); };
    m_liveUpdate->onCancel = [this, &d] { call([&] { d.liveUpdate().cancelClicked(); }); };
    m_report->onOk = [this, &d] { call([&] { d.report().okClicked(); }); };

    m_quarantine->onSelection = [this, &d](const std::vector<uint64_t>& items, const std::string& point) {
        call([&] { d.quarantine().selectionChanged(items, point); });
    };
    m_quarantine->onRestore = [this, &d](bool replace) { call([&] { d.quarantine().restoreClicked(replace); }); };
    m_quarantine->onRestorePoint = [this, &d] { call([&] { d.quarantine().restorePointClicked(); }); };
    m_quarantine->onOpenFolder = [this, &d] { call([&] { d.quarantine().openFolderClicked(); }); };
    m_quarantine->onOpenLog = [this, &d] { call([&] { d.quarantine().openLogClicked(); }); };
    m_quarantine->onViewExclusions = [this, &d] { call([&] { d.quarantine().viewExclusionsClicked(); }); };
    m_quarantine->onClose = [this, &d] { call([&] { d.quarantine().closeClicked(); }); };

    m_submit->onFileNameChanged = [this, &d](const std::string& text) { call([&] { d.submit().fileNameChanged(text); }); };
    m_submit->onSubmit = [this, &d] { call([&] { d.submit().submitClicked(); }); };
    m_submit->onClose = [this, &d] { call([&] { d.submit().closeClicked(); }); };
    m_about->onOk = [this, &d] { call([&] { d.about().okClicked(); }); };
    m_about->onWebsite = [this, &d] { call([&] { d.about().websiteClicked(); }); };
    m_help->onOk = [this, &d] { call([&] { d.help().okClicked(); }); };
}

void QtDesktopApp::loadMainWindow() {
    bool another = false;
    call([&] { another = m_desktop->load() == MainWindowPresenter::LoadResult::AnotherInstance; });
    if (m_splash) m_splash->hide();
    if (another) {
        // One instance per person: the window never shows. Said on the terminal, if there is one.
        std::cerr << "vedozer-gui: another instance of the program is running\n";
        m_closed = true;
        finish();
        return;
    }
    if (!m_warnings.empty()) {
        std::string text;
        for (const std::string& w : m_warnings) text += (text.empty() ? "" : "\r\n") + text::utf8ToCp1252(w);
        m_dialogs->showNotice(Notice{NoticeKind::Warning, text});
    }
}

}  // namespace vedozer::qtui
