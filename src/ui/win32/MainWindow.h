#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "ui/win32/HeaderPane.h"
#include "ui/win32/NavigationBar.h"

namespace vedozer::win32ui {

class DialogBase;

// The main window frame: the navigation column at the left, the header band above the page
// area, and one page at a time below it. Pages are created by their views with this window as
// parent and handed over by add_page.
class MainWindow {
public:
    static constexpr const wchar_t* kClassName = L"VedozerMainWindow";

    MainWindow() = default;
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the hidden frame with its navigation and header band.
    bool create(HICON bigIcon, HICON smallIcon);
    HWND hwnd() const { return m_hwnd; }
    NavigationBar& navigation() { return m_navigation; }
    HeaderPane& header() { return m_header; }

    // The four pages, in navigation order; index 0 is the status page.
    static constexpr int kPageCount = 4;
    void setPage(int index, DialogBase& page);
    void showPage(int index);
    int currentPage() const { return m_current; }
    // The designed pixel size a page needs (the largest page template).
    void setPageSize(SIZE designed);

    void setTitle(const std::string& title);
    bool isMaximized() const { return IsZoomed(m_hwnd) != FALSE; }

    // The person closes the window (title-bar X, Alt+F4): the front end decides what follows.
    std::function<void()> onCloseRequested;
    // Size changes after a resize (normal, minimised or maximised).
    std::function<void(UINT sizeType)> onSized;
    // Anything else the window should hand on (timer, tray and application messages).
    std::function<bool(UINT msg, WPARAM, LPARAM, LRESULT&)> onOtherMessage;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void layout();
    SIZE minimumClientSize() const;

    HWND m_hwnd = nullptr;
    NavigationBar m_navigation;
    HeaderPane m_header;
    std::array<DialogBase*, kPageCount> m_pages{};
    SIZE m_pageSize{};
    int m_current = -1;
    HWND m_lastFocus = nullptr;
};

}  // namespace vedozer::win32ui
