#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace vedozer::guidriver {

// The controls of vedozer-gui.exe seen from another process. Texts are UTF-8 here; messages
// that carry pointers go through memory allocated inside the program's process.

std::string toUtf8(const std::wstring& wide);
std::wstring fromUtf8(const std::string& utf8);

// Visible top-level windows of a process, topmost first.
std::vector<HWND> topLevelWindows(DWORD pid);
std::wstring className(HWND window);
std::wstring windowText(HWND window);  // WM_GETTEXT, also across processes
// The first descendant with a control id (visible ones first).
HWND findControl(HWND top, int id);

// Memory inside the program's process, freed with this object.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t bytes);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    bool ok() const { return m_address != nullptr; }
    void* address() const { return m_address; }
    bool write(const void* data, size_t bytes, size_t offset = 0);
    bool read(void* data, size_t bytes, size_t offset = 0);

private:
    HANDLE m_process = nullptr;
    void* m_address = nullptr;
};

struct ListRow {
    bool checked = false;
    bool selected = false;
    std::vector<std::wstring> cells;
};
std::vector<ListRow> readListView(HWND list);
bool setListCheck(HWND list, int row, bool checked);
bool setListSelected(HWND list, int row, bool selected);
// A click on a column header (the list tells its parent LVN_COLUMNCLICK).
bool clickListColumn(HWND list, int column);
// A click on a tab (the strip tells its parent TCN_SELCHANGE); true once it is selected.
bool selectTab(HWND tabs, int index);

}  // namespace vedozer::guidriver
