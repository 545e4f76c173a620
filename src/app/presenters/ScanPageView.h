#pragma once
#include <string>
#include <vector>

#include "app/presenters/DesktopTypes.h"
#include "i18n/Captions.h"

namespace vedozer {

// The scan page while and after a scan. Counters are text: a number with digit grouping, or
// "Not Selected" for a stage that is off.
struct ScanPageState {
    std::string stageCaption;  // "Scanning registry", after a stop "0% Completed."
    // The stage and the item in one line. A view shortens a long line in the middle with an
    // ellipsis rather than cutting its end.
    std::string statusLine;
    int stagePercent = 0;    // the stage's bar, 0 to 100
    int overallPercent = 0;  // the whole scan's bar
    std::string memoryInspected, registryInspected, filesInspected, softwareFound, traces, runningPrograms;
    bool operator==(const ScanPageState&) const = default;
};

// Start, Pause and Stop, and the button that leads to the results after a scan.
struct ScanControls {
    bool startEnabled = true;
    bool pauseEnabled = false;
    bool stopEnabled = false;
    bool continueVisible = false;
    bool operator==(const ScanControls&) const = default;
};

enum class ScanModeChoice { Complete, Quick };

// One drive of the drive list: its letter, and whether a complete scan includes it.
struct DriveRow {
    std::string letter;
    bool checked = true;
    bool operator==(const DriveRow&) const = default;
};

// Clicks go to ScanPagePresenter: Start -> startClicked, Pause -> pauseClicked, Stop ->
// stopClicked, Continue -> continueClicked, a mode button -> scanModeChosen, a drive's box ->
// driveChecked. Pause and Stop arrive while a scan runs, from inside DialogView::pumpEvents.
class ScanPageView {
public:
    virtual ~ScanPageView() = default;
    virtual void setCaption(CaptionId id, const std::string& text) = 0;  // CaptionGroup::ScanPage
    virtual void showProgress(const ScanPageState& state) = 0;
    virtual void setControls(const ScanControls& controls) = 0;
    // The found list during a scan ("Name - Found", "EXCLUDED: path").
    virtual void clearFound() = 0;
    virtual void addFound(const std::string& text, KindIcon icon) = 0;
    // The scan mode; the drive list shows for the complete mode only.
    virtual void showScanMode(ScanModeChoice mode, bool driveListVisible) = 0;
    virtual void showDrives(const std::vector<DriveRow>& drives) = 0;
};

}  // namespace vedozer
