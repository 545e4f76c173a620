#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "i18n/Captions.h"

namespace vedozer {

// The small windows of the desktop program. Each is created hidden by the front end and shown
// by its presenter; its buttons call the presenter back.

// The list of items a removal could not delete. Ok -> UndeletablePresenter::okClicked, Copy List ->
// copyListClicked.
class UndeletableView {
public:
    virtual ~UndeletableView() = default;
    virtual void setCaption(CaptionId id, const std::string& text) = 0;  // CaptionGroup::Undeletable
    virtual void showItems(const std::vector<std::string>& locations) = 0;
    // Shown without blocking, in front of the main window.
    virtual void show() = 0;
    virtual void hide() = 0;
    // Replaces the clipboard's content by plain text; "" leaves it empty.
    virtual void setClipboardText(const std::string& text) = 0;
};

// The Live Update progress window. Cancel (and closing it) -> LiveUpdatePresenter::cancelClicked.
class LiveUpdateView {
public:
    virtual ~LiveUpdateView() = default;
    virtual void setCaption(CaptionId id, const std::string& text) = 0;  // CaptionGroup::LiveUpdate
    virtual void show() = 0;  // without blocking
    virtual void close() = 0;
    virtual void setStatusText(const std::string& text) = 0;  // the current step
    virtual void setBlinkText(const std::string& text) = 0;   // the blinking line
    virtual void showArrow(bool up) = 0;                       // the up or the down picture, one at a time
    // The window's own notification-area icon while it runs.
    virtual void showTrayIcon(const std::string& tooltip) = 0;
    virtual void removeTrayIcon() = 0;
};

// The report viewer. OK -> ReportViewerPresenter::okClicked.
class ReportView {
public:
    virtual ~ReportView() = default;
    virtual void setCaption(CaptionId id, const std::string& text) = 0;  // CaptionGroup::Report
    virtual void setTitle(const std::string& title) = 0;
    virtual void setText(const std::string& text) = 0;  // lines broken by CR LF, read-only
    virtual void showModal() = 0;  // returns when the window has closed
    virtual void close() = 0;
};

struct QuarantineRow {
    uint64_t id = 0;
    std::string time, kind, location, spyware, state;
    bool restorable = false;  // still held: neither restored nor withdrawn
    bool operator==(const QuarantineRow&) const = default;
};

struct RestorePointRow {
    std::string name, made, holds;
    bool operator==(const RestorePointRow&) const = default;
};

enum class QuarantineAction { Restore, RestorePoint };

// The quarantine window: the items removals kept and the restore points made before them.
// Selection -> QuarantinePresenter::selectionChanged; Restore (with the replace box) ->
// restoreClicked; the restore point button -> restorePointClicked; Open Folder, Open Log, View
// Exclusions, Close -> their ...Clicked calls.
class QuarantineView {
public:
    virtual ~QuarantineView() = default;
    virtual void setCaption(CaptionId id, const std::string& text) = 0;  // CaptionGroup::Quarantine
    virtual void show() = 0;  // without blocking
    virtual void close() = 0;
    virtual void showItems(const std::vector<QuarantineRow>& rows) = 0;
    // The restore points kept by this program; keptHere false shows the note on the system's
    // own restore tool instead of the list.
    virtual void showRestorePoints(const std::vector<RestorePointRow>& rows, bool keptHere) = 0;
    // What the last restore did, one line per item; empty hides the lines.
    virtual void showResults(const std::vector<std::string>& lines) = 0;
    virtual void setActionEnabled(QuarantineAction action, bool enabled) = 0;
};

// The submission box: a file name the person thinks is spyware. Typing -> SubmitPresenter::
// fileNameChanged, Submit -> submitClicked, Close -> closeClicked.
class SubmitView {
public:
    virtual ~SubmitView() = default;
    virtual void setCaption(CaptionId id, const std::string& text) = 0;  // CaptionGroup::Submit
    virtual void show() = 0;
    virtual void close() = 0;
    virtual void setFileName(const std::string& text) = 0;
    virtual void setResult(const std::string& text) = 0;
    virtual void setSubmitEnabled(bool enabled) = 0;
};

struct AboutInfo {
    std::string programName, version, companyName, website;
    bool operator==(const AboutInfo&) const = default;
};

// OK -> AboutPresenter::okClicked, the website button (CaptionId::Website) -> websiteClicked.
class AboutView {
public:
    virtual ~AboutView() = default;
    virtual void setCaption(CaptionId id, const std::string& text) = 0;  // CaptionGroup::About
    virtual void showModal(const AboutInfo& info) = 0;
    virtual void close() = 0;
};

// The help window: shown when there is no help file to open. OK -> HelpPresenter::okClicked.
class HelpView {
public:
    virtual ~HelpView() = default;
    virtual void setCaption(CaptionId id, const std::string& text) = 0;  // CaptionGroup::Help
    virtual void show() = 0;
    virtual void close() = 0;
};

// The splash window shown while the program loads.
class SplashView {
public:
    virtual ~SplashView() = default;
    virtual void show(const std::string& programName, const std::string& version, const std::string& loadingText) = 0;
    virtual void close() = 0;
};

}  // namespace vedozer
