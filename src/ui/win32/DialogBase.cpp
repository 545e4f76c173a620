#include "ui/win32/DialogBase.h"

#include "ui/win32/DialogTemplate.h"
#include "ui/win32/MessagePump.h"
#include "ui/win32/Wide.h"

namespace vedozer::win32ui {

DialogBase::~DialogBase() {
    if (m_hwnd && !m_modal) {
        removeKeyboardNavigation(m_hwnd);
        DestroyWindow(m_hwnd);
    }
    if (m_headingFont) DeleteObject(m_headingFont);
    if (m_boldFont) DeleteObject(m_boldFont);
}

bool DialogBase::create(UINT templateId, HWND parent) {
    m_modal = false;
    m_hwnd = createDialogFromTemplate(templateId, parent, &DialogBase::dialogProc, reinterpret_cast<LPARAM>(this));
    if (m_hwnd && !(GetWindowLongW(m_hwnd, GWL_STYLE) & WS_CHILD)) addKeyboardNavigation(m_hwnd);
    return m_hwnd != nullptr;
}

INT_PTR DialogBase::runModal(UINT templateId, HWND owner) {
    m_modal = true;
    INT_PTR code = runModalDialog(templateId, owner, &DialogBase::dialogProc, reinterpret_cast<LPARAM>(this));
    m_hwnd = nullptr;
    return code;
}

void DialogBase::endModal(INT_PTR code) {
    if (m_hwnd && m_modal) EndDialog(m_hwnd, code);
}

void DialogBase::setText(int id, const std::string& text) {
    std::wstring wide = widen(text);
    HWND control = item(id);
    if (!control) return;
    // Unchanged texts are left alone: a label rewritten at every progress step would flicker.
    int n = GetWindowTextLengthW(control);
    if (n == static_cast<int>(wide.size())) {
        std::wstring current(static_cast<size_t>(n) + 1, L'\0');
        GetWindowTextW(control, current.data(), n + 1);
        current.resize(static_cast<size_t>(n));
        if (current == wide) return;
    }
    m_updating = true;
    SetWindowTextW(control, wide.c_str());
    m_updating = false;
}

void DialogBase::setWindowTitle(const std::string& text) { SetWindowTextW(m_hwnd, widen(text).c_str()); }

void DialogBase::setEnabled(int id, bool enabled) {
    HWND control = item(id);
    if (!control) return;
    // A disabled control that has the focus would leave the keyboard nowhere.
    if (!enabled && GetFocus() == control) SendMessageW(m_hwnd, WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(control, enabled);
}

void DialogBase::setVisible(int id, bool visible) {
    if (HWND control = item(id)) ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
}

void DialogBase::setChecked(int id, bool checked) {
    m_updating = true;
    CheckDlgButton(m_hwnd, id, checked ? BST_CHECKED : BST_UNCHECKED);
    m_updating = false;
}

bool DialogBase::isChecked(int id) const { return IsDlgButtonChecked(m_hwnd, id) == BST_CHECKED; }

std::string DialogBase::text(int id) const {
    HWND control = item(id);
    if (!control) return {};
    int n = GetWindowTextLengthW(control);
    std::wstring buffer(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(control, buffer.data(), n + 1);
    buffer.resize(static_cast<size_t>(n));
    return narrow(buffer);
}

HFONT DialogBase::derivedFont(int weight, int percent) {
    HFONT base = reinterpret_cast<HFONT>(SendMessageW(m_hwnd, WM_GETFONT, 0, 0));
    LOGFONTW font{};
    GetObjectW(base ? base : GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfWeight = weight;
    font.lfHeight = MulDiv(font.lfHeight, percent, 100);
    return CreateFontIndirectW(&font);
}

void DialogBase::makeHeading(int id, int percent) {
    if (!m_headingFont) m_headingFont = derivedFont(FW_SEMIBOLD, percent);
    SendDlgItemMessageW(m_hwnd, id, WM_SETFONT, reinterpret_cast<WPARAM>(m_headingFont), FALSE);
}

void DialogBase::makeBold(int id) {
    if (!m_boldFont) m_boldFont = derivedFont(FW_SEMIBOLD, 100);
    SendDlgItemMessageW(m_hwnd, id, WM_SETFONT, reinterpret_cast<WPARAM>(m_boldFont), FALSE);
}

INT_PTR CALLBACK DialogBase::dialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DialogBase* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<DialogBase*>(lParam);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<DialogBase*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    return self ? self->handle(msg, wParam, lParam) : FALSE;
}

INT_PTR DialogBase::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    INT_PTR result = 0;
    if (onMessage(msg, wParam, lParam, result)) {
        switch (msg) {  // these return their value directly; the rest through DWLP_MSGRESULT
        case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: case WM_COMPAREITEM:
        case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_QUERYDRAGICON: case WM_INITDIALOG:
            return result;
        default:
            SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
    }
    switch (msg) {
    case WM_INITDIALOG:
        m_layout.capture(m_hwnd);
        if (!(GetWindowLongW(m_hwnd, GWL_STYLE) & WS_CHILD)) {
            centreOnOwner(m_hwnd);
            // The product icon in the title bar and Alt+Tab, as the main window has it.
            if (HWND owner = GetWindow(m_hwnd, GW_OWNER)) {
                SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, GetClassLongPtrW(owner, GCLP_HICONSM));
                SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, GetClassLongPtrW(owner, GCLP_HICON));
            }
        }
        onInit();
        onSize();  // a page made at its designed size gets no WM_SIZE before it shows
        // TRUE lets the system focus the first control; a window that chose its own keeps it.
        return GetFocus() && IsChild(m_hwnd, GetFocus()) ? FALSE : TRUE;
    case WM_COMMAND:
        if (!m_updating) onCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, onNotify(reinterpret_cast<NMHDR*>(lParam)));
        return TRUE;
    case WM_SIZE:
        onSize();
        return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        if (windowBackground()) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
        }
        return FALSE;
    case WM_NCDESTROY:
        removeKeyboardNavigation(m_hwnd);
        m_hwnd = nullptr;
        return FALSE;
    }
    return FALSE;
}

}  // namespace vedozer::win32ui
