#pragma once
#include <string>

#include "i18n/Captions.h"

namespace vedozer {

// What the status page shows; the values as text, formatted for people.
struct StatusPageState {
    std::string definitionCount;  // with digit grouping
    std::string version;
    std::string definitionDate;   // "... PST", or the missing-files text
    std::string removedTotal;
    std::string lastScan;
    std::string lastCompleteScan;
    bool definitionsMissing = false;  // the date is shown as a warning
    bool operator==(const StatusPageState&) const = default;
};

enum class StatusAction { LiveUpdate, ScanNow, ShowReport };

// Clicks: LiveUpdate -> MainWindowPresenter::runLiveUpdate, ScanNow -> MainWindowPresenter::scanNow,
// ShowReport -> ReportViewerPresenter::open.
class StatusPageView {
public:
    virtual ~StatusPageView() = default;
    virtual void setCaption(CaptionId id, const std::string& text) = 0;  // CaptionGroup::StatusPage
    virtual void showStatus(const StatusPageState& state) = 0;
    virtual void setActionEnabled(StatusAction action, bool enabled) = 0;
};

}  // namespace vedozer
