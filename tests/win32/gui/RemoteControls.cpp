#include "RemoteControls.h"

#include <commctrl.h>

#include <algorithm>

namespace vedozer::guidriver {

std::string toUtf8(const std::wstring& wide) {
    if (wide.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring fromUtf8(const std::string& utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::vector<HWND> topLevelWindows(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == s->pid && IsWindowVisible(w)) s->found.push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring windowText(HWND window) {
    LRESULT n = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    if (n <= 0) return {};
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    LRESULT got = SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(n + 1), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

HWND findControl(HWND top, int id) {
    struct Search {
        int id;
        HWND visible = nullptr, any = nullptr;
    } search{id};
    EnumChildWindows(
        top,
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            if (GetDlgCtrlID(w) != s->id) return TRUE;
            if (!s->any) s->any = w;
            if (IsWindowVisible(w)) {
                s->visible = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.visible ? search.visible : search.any;
}

RemoteBuffer::RemoteBuffer(HWND window, size_t bytes) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    m_process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (m_process) m_address = VirtualAllocEx(m_process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer() {
    if (m_address) VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
    if (m_process) CloseHandle(m_process);
}

bool RemoteBuffer::write(const void* data, size_t bytes, size_t offset) {
    SIZE_T done = 0;
    return WriteProcessMemory(m_process, static_cast<char*>(m_address) + offset, data, bytes, &done) && done == bytes;
}

bool RemoteBuffer::read(void* data, size_t bytes, size_t offset) {
    SIZE_T done = 0;
    return ReadProcessMemory(m_process, static_cast<char*>(m_address) + offset, data, bytes, &done) && done == bytes;
}

namespace {

constexpr size_t kTextChars = 2048;

std::wstring itemText(HWND list, RemoteBuffer& buffer, int row, int column) {
    LVITEMW item{};
    item.iSubItem = column;
    item.cchTextMax = kTextChars;
    item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(buffer.address()) + sizeof(LVITEMW));
    if (!buffer.write(&item, sizeof item)) return {};
    LRESULT n = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.address()));
    if (n <= 0) return {};
    std::wstring text(static_cast<size_t>(n), L'\0');
    buffer.read(text.data(), static_cast<size_t>(n) * sizeof(wchar_t), sizeof(LVITEMW));
    return text;
}

bool setItemState(HWND list, int row, UINT mask, UINT state) {
    RemoteBuffer buffer(list, sizeof(LVITEMW));
    if (!buffer.ok()) return false;
    LVITEMW item{};
    item.stateMask = mask;
    item.state = state;
    if (!buffer.write(&item, sizeof item)) return false;
    return SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.address())) != 0;
}

// A left click at a point of a control's client area, as the mouse would make it. (Notifications
// cannot be sent from another process: Wine refuses WM_NOTIFY across processes, so the control
// itself is clicked and tells its parent as it would for a person.)
void clickAt(HWND control, POINT at) {
    LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageW(control, WM_MOUSEMOVE, 0, where);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageW(control, WM_LBUTTONUP, 0, where);
}

// A rectangle a control message writes into memory of the program.
bool remoteRect(HWND control, UINT message, WPARAM index, RECT& out) {
    RemoteBuffer buffer(control, sizeof(RECT));
    if (!buffer.ok()) return false;
    if (!SendMessageW(control, message, index, reinterpret_cast<LPARAM>(buffer.address()))) return false;
    return buffer.read(&out, sizeof out);
}

}  // namespace

std::vector<ListRow> readListView(HWND list) {
    std::vector<ListRow> rows;
    RemoteBuffer buffer(list, sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
    if (!buffer.ok()) return rows;
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    if (columns < 1) columns = 1;
    int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < count; ++r) {
        ListRow row;
        UINT state = static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(r),
                                                    LVIS_STATEIMAGEMASK | LVIS_SELECTED));
        row.checked = ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
        row.selected = (state & LVIS_SELECTED) != 0;
        for (int c = 0; c < columns; ++c) row.cells.push_back(itemText(list, buffer, r, c));
        rows.push_back(std::move(row));
    }
    return rows;
}

bool setListCheck(HWND list, int row, bool checked) {
    return setItemState(list, row, LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1));
}

bool setListSelected(HWND list, int row, bool selected) {
    return setItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, selected ? (LVIS_SELECTED | LVIS_FOCUSED) : 0);
}

bool clickListColumn(HWND list, int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    RECT r;
    if (!header || !remoteRect(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), r)) return false;
    clickAt(header, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    return true;
}

bool selectTab(HWND tabs, int index) {
    RECT r;
    if (!remoteRect(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), r)) return false;
    clickAt(tabs, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    for (int i = 0; i < 100; ++i) {  // the click is posted: wait until the strip has taken it
        if (SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == index) return true;
        Sleep(20);
    }
    return false;
}

}  // namespace vedozer::guidriver
