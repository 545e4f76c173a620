#include "ui/win32/MainWindow.h"

#include "ui/win32/DialogBase.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/MessagePump.h"
#include "ui/win32/Wide.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace vedozer::win32ui {

MainWindow::~MainWindow() {
    if (m_hwnd) {
        removeKeyboardNavigation(m_hwnd);
        DestroyWindow(m_hwnd);
    }
}

bool MainWindow::create(HICON bigIcon, HICON smallIcon) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &MainWindow::windowProc;
    wc.hInstance = instance;
    wc.hIcon = bigIcon;
    wc.hIconSm = smallIcon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    // WS_EX_CONTROLPARENT: Tab walks from the navigation into the page and back.
    m_hwnd = CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_APPWINDOW, kClassName, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                             this);
    if (!m_hwnd) return false;
    if (!m_navigation.create(m_hwnd) || !m_header.create(m_hwnd)) return false;
    ShowWindow(m_navigation.hwnd(), SW_SHOW);
    ShowWindow(m_header.hwnd(), SW_SHOW);
    addKeyboardNavigation(m_hwnd);
    return true;
}

void MainWindow::setPage(int index, DialogBase& page) {
    if (index < 0 || index >= kPageCount) return;
    m_pages[static_cast<size_t>(index)] = &page;
    ShowWindow(page.hwnd(), SW_HIDE);
}

void MainWindow::setPageSize(SIZE designed) {
    m_pageSize = designed;
    // Open at the designed size: navigation + page wide, header + page high.
    SIZE client = minimumClientSize();
    RECT r{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(m_hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(m_hwnd, GWL_EXSTYLE)));
    // Centred on the work area of the monitor it opens on.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(m_hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    int w = r.right - r.left, h = r.bottom - r.top;
    SetWindowPos(m_hwnd, nullptr, work.left + ((work.right - work.left) - w) / 2,
                 work.top + ((work.bottom - work.top) - h) / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    layout();
}

void MainWindow::showPage(int index) {
    if (index < 0 || index >= kPageCount || !m_pages[static_cast<size_t>(index)]) return;
    m_current = index;
    layout();
    for (int i = 0; i < kPageCount; ++i)
        if (m_pages[static_cast<size_t>(i)])
            ShowWindow(m_pages[static_cast<size_t>(i)]->hwnd(), i == index ? SW_SHOW : SW_HIDE);
}

void MainWindow::setTitle(const std::string& title) { SetWindowTextW(m_hwnd, widen(title).c_str()); }

SIZE MainWindow::minimumClientSize() const {
    SIZE nav = m_navigation.designedSize();
    SIZE head = m_header.designedSize();
    LONG width = nav.cx + (m_pageSize.cx > head.cx ? m_pageSize.cx : head.cx);
    LONG height = head.cy + m_pageSize.cy;
    if (nav.cy > height) height = nav.cy;
    return {width, height};
}

void MainWindow::layout() {
    RECT client;
    GetClientRect(m_hwnd, &client);
    const int navWidth = m_navigation.designedSize().cx;
    const int headHeight = m_header.designedSize().cy;
    HDWP batch = BeginDeferWindowPos(3);
    batch = DeferWindowPos(batch, m_navigation.hwnd(), nullptr, 0, 0, navWidth, client.bottom,
                           SWP_NOZORDER | SWP_NOACTIVATE);
    batch = DeferWindowPos(batch, m_header.hwnd(), nullptr, navWidth, 0, client.right - navWidth, headHeight,
                           SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_current >= 0 && m_pages[static_cast<size_t>(m_current)])
        batch = DeferWindowPos(batch, m_pages[static_cast<size_t>(m_current)]->hwnd(), nullptr, navWidth, headHeight,
                               client.right - navWidth, client.bottom - headHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    if (batch) EndDeferWindowPos(batch);
    // Hidden pages follow the size too, so they show at once with the right layout.
    for (int i = 0; i < kPageCount; ++i)
        if (i != m_current && m_pages[static_cast<size_t>(i)])
            SetWindowPos(m_pages[static_cast<size_t>(i)]->hwnd(), nullptr, navWidth, headHeight, client.right - navWidth,
                         client.bottom - headHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK MainWindow::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    MainWindow* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return self->handle(msg, wParam, lParam);
}

LRESULT MainWindow::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (onOtherMessage && onOtherMessage(msg, wParam, lParam, result)) return result;
    switch (msg) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) layout();
        if (onSized) onSized(static_cast<UINT>(wParam));
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        SIZE client = minimumClientSize();
        if (client.cx > 0) {
            RECT r{0, 0, client.cx, client.cy};
            AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(m_hwnd, GWL_STYLE)), FALSE,
                               static_cast<DWORD>(GetWindowLongW(m_hwnd, GWL_EXSTYLE)));
            info->ptMinTrackSize = {r.right - r.left, r.bottom - r.top};
        }
        return 0;
    }
    case WM_DPICHANGED: {
        // Per-monitor DPI: take the size the system suggests for the new monitor.
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(m_hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_ACTIVATE:
        // The keyboard focus comes back to the control that had it, as in a dialog.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(m_hwnd, focus)) m_lastFocus = focus;
        }
        break;
    case WM_SETFOCUS: {
        HWND target = m_lastFocus;
        if (!target || !IsWindow(target) || !IsWindowVisible(target) || !IsWindowEnabled(target))
            target = GetNextDlgTabItem(m_navigation.hwnd(), nullptr, FALSE);
        if (target) SetFocus(target);
        return 0;
    }
    case DM_GETDEFID:
        // Enter on a page presses that page's default button: the keyboard code of the dialog
        // manager asks the top window, which answers for the page that shows.
        if (m_current >= 0 && m_pages[static_cast<size_t>(m_current)])
            return SendMessageW(m_pages[static_cast<size_t>(m_current)]->hwnd(), DM_GETDEFID, 0, 0);
        return 0;
    case WM_COMMAND:
        // ... and then sends the button's click here: it belongs to the page.
        if (lParam && GetParent(reinterpret_cast<HWND>(lParam)) != m_hwnd)
            return SendMessageW(GetParent(reinterpret_cast<HWND>(lParam)), WM_COMMAND, wParam, lParam);
        break;
    case WM_CLOSE:
        if (onCloseRequested) {
            onCloseRequested();
            return 0;
        }
        break;
    case WM_DESTROY:
        removeKeyboardNavigation(m_hwnd);
        break;
    case WM_NCDESTROY:
        m_hwnd = nullptr;
        break;
    }
    return DefWindowProcW(m_hwnd, msg, wParam, lParam);
}

}  // namespace vedozer::win32ui
