#pragma once
#include <windows.h>

#include <string>

#include "ui/win32/AnchorLayout.h"

namespace vedozer::win32ui {

// A window made from a dialog template: a page inside the main window or a window of its own.
// Texts given to it are the engine's (Windows-1252) and converted here.
class DialogBase {
public:
    virtual ~DialogBase();
    DialogBase() = default;
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    HWND hwnd() const { return m_hwnd; }
    HWND item(int id) const { return GetDlgItem(m_hwnd, id); }

    void setText(int id, const std::string& text);
    void setWindowTitle(const std::string& text);
    void setEnabled(int id, bool enabled);
    void setVisible(int id, bool visible);
    void setChecked(int id, bool checked);
    bool isChecked(int id) const;
    std::string text(int id) const;

protected:
    // A modeless page or window; parent is the main window or the owner.
    bool create(UINT templateId, HWND parent);
    // Runs as a modal dialog; returns the code given to endModal.
    INT_PTR runModal(UINT templateId, HWND owner);
    void endModal(INT_PTR code);
    bool isModal() const { return m_modal; }

    // Called once the controls exist (WM_INITDIALOG).
    virtual void onInit() {}
    virtual void onCommand(int /*id*/, int /*code*/) {}
    virtual LRESULT onNotify(NMHDR* /*header*/) { return 0; }
    virtual void onSize() { m_layout.apply(); }
    // Anything else; return true when handled (result in `result`).
    virtual bool onMessage(UINT /*msg*/, WPARAM, LPARAM, INT_PTR& /*result*/) { return false; }
    // Pages are drawn on the window colour; windows keep the dialog colour.
    virtual bool windowBackground() const { return false; }

    // A heading font (semi-bold, larger) for a label.
    void makeHeading(int id, int percent = 130);
    void makeBold(int id);

    AnchorLayout m_layout;
    // True while the view writes controls itself: change notifications are not the person's.
    bool m_updating = false;

private:
    static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT msg, WPARAM wParam, LPARAM lParam);
    HFONT derivedFont(int weight, int percent);

    HWND m_hwnd = nullptr;
    bool m_modal = false;
    HFONT m_headingFont = nullptr;
    HFONT m_boldFont = nullptr;
};

}  // namespace vedozer::win32ui
