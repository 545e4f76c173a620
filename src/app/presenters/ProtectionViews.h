#pragma once
#include <cstdint>
#include <string>

#include "i18n/ProtectionCaptions.h"
#include "protection/ScheduleEditor.h"
#include "protection/SlideWindow.h"
#include "protection/Tray.h"

namespace vedozer {

// The windows of real-time protection (Windows only). Each is created hidden by the front end
// and shown by its presenter; its controls call the presenter back. Texts are in the program's
// code page, as everywhere between presenters and views.

// The memory shield's alert "Malicious Program Found" (frmSpywareFoundAlert): the fixed texts,
// "File Name:" and "Company Name:" with the program's file and company, and two buttons.
// STOP -> ThreatAlertPresenter::stopClicked, ALLOW -> allowClicked, closing the window any other
// way (Esc, the close box) -> closed(). No button is the default: Enter alone decides nothing.
class ThreatAlertView {
public:
    virtual ~ThreatAlertView() = default;
    virtual void setCaption(ProtectionCaption id, const std::string& text) = 0;  // ProtectionWindow::ThreatAlert
    virtual void setThreat(const std::string& fileName, const std::string& companyName) = 0;
    virtual void setStopEnabled(bool enabled) = 0;
    // Modal and topmost, centred on the screen (the main window may be in the notification area);
    // returns when the window has closed. Events keep running meanwhile.
    virtual void showModal() = 0;
    virtual void close() = 0;
};

// The home-page shield's alert (frmHomePageChangedAlert): the program's name, the text saying
// which page is kept by which button, Yes and No. Yes -> HomePageAlertPresenter::yesClicked,
// No -> noClicked, closing it any other way -> closed(). No default button.
class HomePageAlertView {
public:
    virtual ~HomePageAlertView() = default;
    virtual void setCaption(ProtectionCaption id, const std::string& text) = 0;  // ProtectionWindow::HomePageAlert
    virtual void setInfo(const std::string& text) = 0;  // lines broken by CR LF; URLs may be long
    virtual void showModal() = 0;  // as ThreatAlertView::showModal
    virtual void close() = 0;
};

// The notice after Live Update (frmSignatureUpdated): a small topmost window without a task-bar
// button that slides up out of the taskbar at the bottom right, shown without taking the focus.
// OK -> UpdateNoticePresenter::okClicked. Its three timers are the presenter's (timers()).
class UpdateNoticeView {
public:
    virtual ~UpdateNoticeView() = default;
    virtual void setCaption(ProtectionCaption id, const std::string& text) = 0;  // ProtectionWindow::UpdateNotice
    // The desktop window's and the taskbar's client sizes, in pixels (ScreenMeasures).
    virtual ScreenMeasures screen() const = 0;
    virtual int32_t heightPixels() const = 0;      // the window's outer height
    virtual int32_t innerWidthPixels() const = 0;  // its client width
    virtual void setText(const std::string& text) = 0;
    virtual void show() = 0;
    // Places the window's top left corner, in screen pixels; called after every step.
    virtual void moveTo(int32_t leftPixels, int32_t topPixels) = 0;
    virtual void close() = 0;
};

// The program's notification-area icon and its pop-up menu (frmMenuPopUp), a small window that
// slides up from the taskbar at the bottom right, stays while the mouse is over it and slides
// down by itself. Icon mouse messages -> TrayPresenter::iconMessage (the window message number the
// notification carries: 513 left button down, 516 right button down, 515/518 double-clicks);
// a menu entry -> entryClicked; the mouse entering or leaving the menu -> mouseOverMenu, moving
// over it -> mouseMovedOverMenu, over the "Close This Menu" entry -> mouseOverCloseEntry. The
// menu's three timers are the presenter's (timers()).
class TrayView {
public:
    virtual ~TrayView() = default;
    // The icon (Shell_NotifyIcon add, modify, delete), its tooltip at most 63 characters.
    virtual void showIcon(const std::string& tooltip) = 0;
    virtual void setTooltip(const std::string& tooltip) = 0;
    virtual void removeIcon() = 0;

    virtual void setMenuCaption(ProtectionCaption id, const std::string& text) = 0;  // ProtectionWindow::TrayMenu
    virtual void setEntryEnabled(TrayMenuEntry entry, bool enabled) = 0;
    virtual void setCloseEntryBold(bool bold) = 0;
    virtual ScreenMeasures screen() const = 0;
    virtual int32_t menuHeightPixels() const = 0;
    virtual int32_t menuInnerWidthPixels() const = 0;
    virtual void showMenu() = 0;  // topmost, without a task-bar button
    virtual void moveMenu(int32_t leftPixels, int32_t topPixels) = 0;
    virtual void closeMenu() = 0;
};

// The schedule controls of the options page: "Enable Scheduled Scans" (the options page's own
// check box), the day list, the date and time pickers (each may be left empty), "Delete spyware
// automatically after scheduled scan" and Apply. The day list holds the ten days in their stored
// order. A changed control -> SchedulePresenter's calls of the same name; Apply -> applyClicked.
class ScheduleView {
public:
    virtual ~ScheduleView() = default;
    virtual void setCaption(ProtectionCaption id, const std::string& text) = 0;  // ProtectionWindow::Schedule
    // Every control's value and enabled state at once.
    virtual void showControls(const ScheduleControls& controls) = 0;
};

}  // namespace vedozer
