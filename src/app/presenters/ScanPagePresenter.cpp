#include "app/presenters/ScanPagePresenter.h"

#include "app/presenters/PresenterText.h"
#include "app/presenters/ResultsPagePresenter.h"
#include "app/presenters/UndeletablePresenter.h"
#include "i18n/MessageKeys.h"
#include "settings/SettingValues.h"
#include "settings/SettingsKeys.h"
#include "text/Text.h"

namespace vedozer {

namespace {

// The drive types of DriveInfo.
constexpr int kRemovable = 2, kFixed = 3, kNetwork = 4, kCdRom = 5;

}  // namespace

std::vector<std::string> driveListLetters(const std::vector<DriveInfo>& drives) {
    std::vector<std::string> out;
    for (const DriveInfo& d : drives) {
        bool listed = d.driveType == kRemovable || d.driveType == kNetwork || d.driveType == kCdRom ||
                      (d.driveType == kFixed && d.ready);
        if (listed && !d.root.empty()) out.push_back(text::toUpper(d.root.substr(0, 1)));
    }
    return out;
}

ScanPagePresenter::ScanPagePresenter(Session& session, ScanPageView& view, Navigator& navigator,
                                     ResultsPagePresenter& results, UndeletablePresenter& undeletable)
    : m_session(session), m_view(view), m_navigator(navigator), m_results(results), m_undeletable(undeletable) {}

void ScanPagePresenter::applyLanguage() {
    for (CaptionId id : captionsOf(CaptionGroup::ScanPage)) m_view.setCaption(id, captionText(m_session.languages(), id));
    // Counters of stages that were off read "Not Selected" in the current language.
    if (m_lastProgress) showProgress(*m_lastProgress);
}

void ScanPagePresenter::fill() {
    m_drives.clear();
    Settings& s = m_session.settings();
    for (const std::string& letter : driveListLetters(m_session.files().drives()))
        m_drives.push_back(DriveRow{letter, s.getBool(skey::Drives, letter, true)});
    m_view.showDrives(m_drives);
    m_mode = s.getBool(skey::OptionAndSettings, skey::completeScanMode, true) ? ScanModeChoice::Complete
                                                                             : ScanModeChoice::Quick;
    m_view.showScanMode(m_mode, m_mode == ScanModeChoice::Complete);
    for (std::string* counter : {&m_state.memoryInspected, &m_state.registryInspected, &m_state.filesInspected,
                                 &m_state.softwareFound, &m_state.traces, &m_state.runningPrograms})
        *counter = text::groupDigits(0);
    m_view.showProgress(m_state);
    setControls(ScanControls{});
}

ScanOutcome ScanPagePresenter::startScan(bool unattendedRemoval) {
    // A removal walks the lists a scan would clear; the session refuses, and so does the page.
    if (m_running || m_session.removalRunning()) return {};
    m_running = true;
    m_undeletable.hideAndClear();
    m_view.clearFound();
    m_foundShown = 0;
    setControls(ScanControls{false, true, true, false});
    setNavigationDuringScan(true);
    m_navigator.showPage(Page::Scan);

    ScanRequest request;
    if (unattendedRemoval) {
        request.then = AfterScan::RemoveEverything;
        request.askFirst = false;
    }
    ScanOutcome outcome = m_session.scan(request);

    m_running = false;
    syncFoundList();
    setControls(ScanControls{true, false, false, true});
    setNavigationDuringScan(false);
    m_results.refresh();
    if (outcome.removal) {
        m_navigator.showPage(Page::Results);
        m_results.showRemovalOutcome(*outcome.removal);
    }
    m_navigator.refreshStatus();
    return outcome;
}

void ScanPagePresenter::pauseClicked() {
    if (!m_running || !m_controls.pauseEnabled) return;
    ScanControls during = m_controls;
    during.pauseEnabled = during.stopEnabled = false;
    setControls(during);
    m_session.pause();  // the modal question holds the scan
    if (m_running) setControls(ScanControls{false, true, true, false});
}

void ScanPagePresenter::stopClicked() {
    if (!m_running || !m_controls.stopEnabled) return;
    // No second question while this one is open.
    ScanControls during = m_controls;
    during.pauseEnabled = during.stopEnabled = false;
    setControls(during);
    bool stopping = m_session.askToStop();
    if (m_running) setControls(ScanControls{false, !stopping, !stopping, false});
}

void ScanPagePresenter::continueClicked() {
    m_navigator.showPage(Page::Results);
    m_results.opened();
}

void ScanPagePresenter::scanModeChosen(ScanModeChoice mode) {
    m_mode = mode;
    Settings& s = m_session.settings();
    if (mode == ScanModeChoice::Complete)
        s.saveOptionPair(skey::OptionAndSettings, skey::completeScanMode, skey::quickScanMode);
    else
        s.saveOptionPair(skey::OptionAndSettings, skey::quickScanMode, skey::completeScanMode);
    m_view.showScanMode(mode, mode == ScanModeChoice::Complete);
}

void ScanPagePresenter::driveChecked(size_t row, bool checked) {
    if (row >= m_drives.size()) return;
    m_drives[row].checked = checked;
    for (const DriveRow& d : m_drives) m_session.settings().save(skey::Drives, d.letter, trueFalse(d.checked));
}

void ScanPagePresenter::onScanStageStarted(const ScanStageStarted& e) {
    syncFoundList();
    m_state.stageCaption = e.caption;
    m_view.showProgress(m_state);
}

void ScanPagePresenter::onScanProgress(const ScanProgress& e) {
    m_lastProgress = e;
    showProgress(e);
    syncFoundList();
}

void ScanPagePresenter::showProgress(const ScanProgress& e) {
    const ScanTally& t = e.tally;
    m_state.stageCaption = e.stageCaption;
    m_state.statusLine = oneLine(e.caption);
    m_state.stagePercent = e.stagePercent;
    m_state.overallPercent = e.overallPercent;
    m_state.memoryInspected = counter(t.memoryInspected, t.memorySelected);
    m_state.registryInspected = counter(t.registryInspected, t.registrySelected);
    m_state.filesInspected = counter(t.filesInspected, true);
    m_state.softwareFound = counter(t.softwareFound, true);
    m_state.traces = counter(t.traces, true);
    m_state.runningPrograms = counter(t.runningPrograms, true);
    m_view.showProgress(m_state);
}

void ScanPagePresenter::onItemFound(const ItemFound&) { syncFoundList(); }

// The found list gains its row for a new name just after the detection is told, so every event
// brings the view up to date with what the list holds.
void ScanPagePresenter::syncFoundList() {
    const auto& found = m_session.results().foundList();
    if (found.size() < m_foundShown) m_foundShown = 0;
    for (; m_foundShown < found.size(); ++m_foundShown)
        m_view.addFound(found[m_foundShown].text, kindIcon(found[m_foundShown].icon));
}

void ScanPagePresenter::setControls(ScanControls controls) {
    m_controls = controls;
    m_view.setControls(controls);
}

void ScanPagePresenter::setNavigationDuringScan(bool scanning) {
    for (MainCommand c : {MainCommand::ResultsPage, MainCommand::OptionsPage, MainCommand::ScanPage,
                          MainCommand::ViewReport, MainCommand::LiveUpdate, MainCommand::StatusPage})
        m_navigator.setCommandEnabled(c, !scanning);
}

std::string ScanPagePresenter::counter(int32_t value, bool selected) const {
    return selected ? text::groupDigits(value) : m_session.message(msg::MSG_NOTSELECED);
}

}  // namespace vedozer
