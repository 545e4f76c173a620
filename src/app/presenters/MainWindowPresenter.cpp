#include "app/presenters/MainWindowPresenter.h"

#include "app/presenters/AboutPresenter.h"
#include "app/presenters/HeaderBandRules.h"
#include "app/presenters/HelpPresenter.h"
#include "app/presenters/LiveUpdatePresenter.h"
#include "app/presenters/ProtectionWindows.h"
#include "app/presenters/QuarantinePresenter.h"
#include "app/presenters/ReportViewerPresenter.h"
#include "app/presenters/ResultsPagePresenter.h"
#include "app/presenters/ScanPagePresenter.h"
#include "app/presenters/StatusPagePresenter.h"
#include "app/presenters/SubmitPresenter.h"
#include "app/presenters/UndeletablePresenter.h"
#include "i18n/MessageKeys.h"
#include "settings/SettingValues.h"
#include "settings/SettingsKeys.h"
#include "update/UpdateUrls.h"

namespace vedozer {

MainWindowPresenter::MainWindowPresenter(Session& session, MainWindowView& view, MainWindowParts parts,
                                         DesktopFeatures features)
    : m_session(session), m_view(view), m_parts(parts), m_features(features) {
    m_commands.fill(true);
    m_parts.report.setCommandSwitch([this](bool on) {
        setCommandEnabled(MainCommand::ViewReport, on);
        m_parts.status.setActionEnabled(StatusAction::ShowReport, on);
    });
}

MainWindowPresenter::LoadResult MainWindowPresenter::load() {
    if (!m_session.startUp({.takeInstanceLock = true, .recordStatus = true})) return LoadResult::AnotherInstance;
    Settings& s = m_session.settings();
    if (m_installsShipped) {
        // Skipped as soon as any definition file is there: installed ones are never replaced.
        Outcome installed = m_session.installShippedDefinitions(false);
        if (installed.failed()) m_session.host().onNotice(Notice{NoticeKind::Error, upperFirst(installed.reason) + "."});
    }

    // The very first start: English is saved, and the person may choose another language.
    if (!m_session.setting(skey::Settings, skey::Language)) {
        m_session.setSetting(skey::Settings, skey::Language, "English");
        m_view.chooseLanguage();
    }
    applyLanguage();
    m_parts.status.refresh();

    m_session.setBackgroundTimers(false);
    m_parts.scan.fill();
    Options options = m_parts.options.fill(ResultsPagePresenter::kColumnCount);
    if (m_protection) m_protection->schedule().fill();
    m_parts.results.setColumnWidths(options.columnWidths);
    m_parts.results.refresh();
    showPage(Page::Status);
    m_session.setBackgroundTimers(true);
    for (size_t c = 0; c < m_commands.size(); ++c) setCommandEnabled(static_cast<MainCommand>(c), true);
    // Without the notification area nothing would lead back to a hidden window.
    m_view.setCommandVisible(MainCommand::SendToTray, m_features.tray);
    setCommandEnabled(MainCommand::SendToTray, m_protection != nullptr);
    for (StatusAction a : {StatusAction::LiveUpdate, StatusAction::ScanNow, StatusAction::ShowReport})
        m_parts.status.setActionEnabled(a, true);
    refreshStatus();

    m_parts.help.showOnFirstUse();
    m_session.timers().armAutomaticUpdate();

    m_loaded = true;
    if (m_protection && m_startInTray)
        sendToTray(false);
    else if (m_protection && s.get(skey::Settings, skey::Minimized, "No") == "Yes")
        sendToTray();
    else
        m_view.showWindow(options.maximized);
    askToUpdateOnFirstRun();
    return LoadResult::Shown;
}

void MainWindowPresenter::askToUpdateOnFirstRun() {
    bool yes = false;
    try {
        yes = m_session.offerFirstUpdate();
    } catch (const SettingsError&) {
        return;  // the machine-wide store cannot be read: better no question than one at every start
    }
    if (yes) runLiveUpdate();
}

void MainWindowPresenter::close() {
    if (m_closed) return;
    m_closed = true;
    m_session.shutDown();
    if (m_loaded) {
        std::vector<int> widths = m_parts.results.columnWidths();
        for (size_t i = 0; i < widths.size(); ++i)
            m_session.setSetting(skey::Settings, columnWidthKey(static_cast<int>(i) + 1), std::to_string(widths[i]));
        m_session.setSetting(skey::Settings, skey::Max, m_view.isMaximized() ? "1" : "0");
    }
    m_parts.liveUpdate.close();
    m_parts.undeletable.okClicked();
    if (m_parts.quarantine.isOpen()) m_parts.quarantine.closeClicked();
    m_parts.submit.closeClicked();
    m_parts.help.okClicked();
    if (m_protection) {
        m_protection->tray().removeIcon();
        if (m_protection->updateNotice().isOpen()) m_protection->updateNotice().okClicked();
        for (LogicalTimer* t : m_protection->timers()) t->setEnabled(false);
    }
    for (LogicalTimer* t : m_session.timers().all()) t->setEnabled(false);
    m_view.quit();
}

void MainWindowPresenter::commandClicked(MainCommand command) {
    if (!commandEnabled(command) || m_closed) return;
    switch (command) {
        case MainCommand::StatusPage: showPage(Page::Status); break;
        case MainCommand::ScanPage: showPage(Page::Scan); break;
        case MainCommand::ResultsPage:
            showPage(Page::Results);
            m_parts.results.opened();
            break;
        case MainCommand::OptionsPage: showPage(Page::Options); break;
        case MainCommand::LiveUpdate: runLiveUpdate(); break;
        case MainCommand::ViewReport: m_parts.report.open(); break;
        case MainCommand::ViewQuarantine: m_parts.quarantine.viewQuarantineFolder(); break;
        case MainCommand::ViewExclusions: m_parts.quarantine.viewExclusions(); break;
        case MainCommand::QuarantineWindow: m_parts.quarantine.openWindow(); break;
        case MainCommand::SubmitFile: m_parts.submit.open(); break;
        case MainCommand::Help: m_parts.help.open(); break;
        case MainCommand::About: m_parts.about.open(); break;
        case MainCommand::Language: m_view.chooseLanguage(); break;
        case MainCommand::SendToTray: sendToTray(); break;
        case MainCommand::Exit: close(); break;
    }
}

void MainWindowPresenter::liveUpdatePressed(bool shift, bool ctrl, bool alt) {
    if (isShowUpdateUrlsChord(shift, ctrl, alt)) {
        ShowUpdateUrls(m_session.identity(), m_session.host());
        return;
    }
    commandClicked(MainCommand::LiveUpdate);
}

LiveUpdateReport MainWindowPresenter::runLiveUpdate() {
    if (m_updating) return {};
    m_updating = true;
    setCommandEnabled(MainCommand::LiveUpdate, false);
    m_parts.status.setActionEnabled(StatusAction::LiveUpdate, false);
    m_parts.liveUpdate.open();
    LiveUpdateReport report = m_session.liveUpdate();
    m_parts.liveUpdate.close();
    std::string problem = describeUpdateProblem(report.check);
    const bool checked = report.outcome != LiveUpdateOutcome::Unreachable && report.outcome != LiveUpdateOutcome::Failed;
    if (!checked)
        // Not "the most recent definitions": the person learns that nothing was checked.
        m_session.host().onNotice(Notice{NoticeKind::Error, m_session.message(msg::MSG_INTERNET) +
                                                                (problem.empty() ? "" : "\r\n\r\n" + problem)});
    refreshStatus();
    if (checked) {
        if (m_protection)
            // The notice also says how many definitions there are now, and of which date.
            m_protection->updateNotice().show(report.message + "\r\n" + m_header.definitions);
        else
            m_view.showUpdateNotice(report.message);
    }
    setCommandEnabled(MainCommand::ScanPage, true);
    setCommandEnabled(MainCommand::LiveUpdate, true);
    m_parts.status.setActionEnabled(StatusAction::LiveUpdate, true);
    m_updating = false;
    return report;
}

void MainWindowPresenter::scanNow() {
    if (m_parts.scan.running() || !m_parts.scan.controls().startEnabled) return;
    showPage(Page::Scan);
    m_parts.scan.startClicked();
}

void MainWindowPresenter::scheduledScan(bool removeWithoutAsking) {
    if (m_closed || m_parts.scan.running() || !m_parts.scan.controls().startEnabled) return;
    showPage(Page::Scan);
    m_parts.scan.startScan(removeWithoutAsking);
}

void MainWindowPresenter::sendToTray(bool remember) {
    if (!m_protection) return;
    m_protection->tray().sendToTray(remember);
}

void MainWindowPresenter::windowStateChanged(WindowState state, bool visible) {
    // While the window is in front the scheduler and the memory shield rest.
    m_session.timers().setWindowState(state);
    if (state == WindowState::Normal && visible && m_loaded) m_session.setSetting(skey::Settings, skey::Minimized, "No");
}

void MainWindowPresenter::applyLanguage() {
    const Languages& l = m_session.languages();
    m_title = l.getMessages(msg::MSG_CAPTION);
    if (!m_systemName.empty()) m_title += " - " + m_systemName;
    m_view.setTitle(m_title);
    for (CaptionId id : captionsOf(CaptionGroup::MainWindow)) m_view.setCaption(id, captionText(l, id));
    m_view.setCaption(CaptionId::Website, l.getMessages(msg::MSG_WEBSITE));
    m_view.setCaption(CaptionId::Welcome, l.getMessages(msg::MSG_CAPTION2));
    m_parts.status.applyLanguage();
    m_parts.scan.applyLanguage();
    m_parts.results.applyLanguage();
    m_parts.options.applyLanguage();
    m_parts.undeletable.applyLanguage();
    m_parts.liveUpdate.applyLanguage();
    m_parts.report.applyLanguage();
    m_parts.quarantine.applyLanguage();
    m_parts.submit.applyLanguage();
    m_parts.about.applyLanguage();
    m_parts.help.applyLanguage();
    if (m_protection) m_protection->applyLanguage();
    if (m_loaded) refreshStatus();
}

void MainWindowPresenter::showPage(Page page) {
    m_page = page;
    m_view.showPage(page);
}

void MainWindowPresenter::setCommandEnabled(MainCommand command, bool enabled) {
    m_commands[static_cast<size_t>(command)] = enabled;
    m_view.setCommandEnabled(command, enabled);
}

void MainWindowPresenter::refreshStatus() {
    m_parts.status.refresh();
    HeaderFacts facts;
    facts.status = m_parts.status.summary();
    facts.protectionAvailable = m_features.protection;
    const Settings& s = m_session.settings();
    facts.memoryShieldOn = s.getBool(skey::OptionAndSettings, skey::memoryShieldOn, true);
    facts.homePageShieldOn = s.getBool(skey::OptionAndSettings, skey::homePageShieldOn, true);
    facts.threatsListed = m_session.results().removalList().size();
    m_header = makeHeaderBand(facts, m_session.languages());
    m_view.showHeader(m_header);
}

}  // namespace vedozer
