#pragma once
#include <optional>
#include <string>
#include <vector>

#include "app/Session.h"
#include "app/presenters/DesktopHost.h"
#include "app/presenters/Navigator.h"
#include "app/presenters/ScanPageView.h"

namespace vedozer {

class ResultsPagePresenter;
class UndeletablePresenter;

// The scan page: Start, Pause and Stop, the stage and status lines, both bars, the counters, the
// found list, the scan mode and the drive list. A scan runs inside startClicked(); while it runs
// the engine yields to the toolkit, which delivers Pause and Stop clicks back here.
class ScanPagePresenter : public HostListener {
public:
    ScanPagePresenter(Session& session, ScanPageView& view, Navigator& navigator, ResultsPagePresenter& results,
                      UndeletablePresenter& undeletable);

    void applyLanguage();
    // The drive list from the system's drives (removable, ready fixed, network and CD-ROM drives,
    // each by its letter), checked as saved; and the scan mode as saved.
    void fill();

    // Start: runs a whole scan and returns when it is over. Ignored while a scan runs.
    void startClicked() { startScan(false); }
    // A scan that removes everything it finds without asking (the scheduler's automatic deletion);
    // the results page then shows what became of each item.
    ScanOutcome startScan(bool unattendedRemoval);
    // Pause: the scan waits while the pause message is open; Pause and Stop are disabled meanwhile.
    void pauseClicked();
    // Stop: asks; Yes stops the scan at its next item.
    void stopClicked();
    // "Click Here to Continue": the results page, as its navigation button opens it.
    void continueClicked();

    void scanModeChosen(ScanModeChoice mode);
    // A drive's check box changed: the whole list is saved, one key per drive.
    void driveChecked(size_t row, bool checked);

    bool running() const { return m_running; }
    const ScanPageState& state() const { return m_state; }
    const ScanControls& controls() const { return m_controls; }
    const std::vector<DriveRow>& drives() const { return m_drives; }
    ScanModeChoice scanMode() const { return m_mode; }

    void onScanStageStarted(const ScanStageStarted& e) override;
    void onScanProgress(const ScanProgress& e) override;
    void onItemFound(const ItemFound& e) override;

private:
    void showProgress(const ScanProgress& e);
    void syncFoundList();
    void setControls(ScanControls controls);
    void setNavigationDuringScan(bool scanning);
    std::string counter(int32_t value, bool selected) const;

    Session& m_session;
    ScanPageView& m_view;
    Navigator& m_navigator;
    ResultsPagePresenter& m_results;
    UndeletablePresenter& m_undeletable;
    ScanPageState m_state;
    std::optional<ScanProgress> m_lastProgress;
    ScanControls m_controls;
    std::vector<DriveRow> m_drives;
    ScanModeChoice m_mode = ScanModeChoice::Complete;
    bool m_running = false;
    size_t m_foundShown = 0;
};

// Which drives the drive list offers: removable, network and CD-ROM drives, fixed drives that are
// ready; each shown by its letter alone.
std::vector<std::string> driveListLetters(const std::vector<DriveInfo>& drives);

}  // namespace vedozer
