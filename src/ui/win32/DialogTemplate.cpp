#include "ui/win32/DialogTemplate.h"

#include <cstring>

#include "ui/win32/Dpi.h"

namespace vedozer::win32ui {

namespace {

#pragma pack(push, 2)
struct DialogExHeader {  // the fixed start of a DLGTEMPLATEEX, 26 bytes
    WORD dlgVer;
    WORD signature;
    DWORD helpID;
    DWORD exStyle;
    DWORD style;
    WORD cDlgItems;
    short x, y, cx, cy;
};
#pragma pack(pop)
static_assert(sizeof(DialogExHeader) == 26);

// Skips a menu or class field: none, an ordinal or a string.
size_t skipNameOrOrdinal(const BYTE* data, size_t at, size_t size) {
    if (at + 2 > size) return size;
    WORD first;
    std::memcpy(&first, data + at, 2);
    if (first == 0x0000) return at + 2;
    if (first == 0xFFFF) return at + 4;
    while (at + 2 <= size) {
        WORD c;
        std::memcpy(&c, data + at, 2);
        at += 2;
        if (c == 0) break;
    }
    return at;
}

size_t skipString(const BYTE* data, size_t at, size_t size) {
    while (at + 2 <= size) {
        WORD c;
        std::memcpy(&c, data + at, 2);
        at += 2;
        if (c == 0) break;
    }
    return at;
}

size_t alignDword(size_t at) { return (at + 3) & ~size_t(3); }

template <class T>
void append(std::vector<BYTE>& out, const T& value) {
    const BYTE* p = reinterpret_cast<const BYTE*>(&value);
    out.insert(out.end(), p, p + sizeof value);
}

HINSTANCE ownModule() { return GetModuleHandleW(nullptr); }

}  // namespace

std::vector<BYTE> dialogTemplateWithMessageFont(HINSTANCE module, UINT id, UINT dpi) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_DIALOG));
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    size_t size = SizeofResource(module, found);
    if (!data || size < sizeof(DialogExHeader)) return {};
    DialogExHeader header;
    std::memcpy(&header, data, sizeof header);
    if (header.dlgVer != 1 || header.signature != 0xFFFF) return {};

    size_t at = sizeof header;
    at = skipNameOrOrdinal(data, at, size);  // menu
    at = skipNameOrOrdinal(data, at, size);  // window class
    at = skipString(data, at, size);         // title
    const size_t fontStart = at;
    size_t itemsStart = at;
    if (header.style & DS_SETFONT) {
        itemsStart = skipString(data, at + 6, size);  // point size, weight, italic, charset, face
    }
    itemsStart = alignDword(itemsStart);
    if (itemsStart > size) return {};

    LOGFONTW font = messageFont(dpi);
    WORD points = static_cast<WORD>(MulDiv(font.lfHeight < 0 ? -font.lfHeight : font.lfHeight, 72, static_cast<int>(dpi)));
    if (points < 8) points = 9;
    std::vector<BYTE> out(data, data + fontStart);
    DialogExHeader patched = header;
    patched.style = (header.style | DS_SETFONT) & ~DWORD(DS_FIXEDSYS);
    std::memcpy(out.data(), &patched, sizeof patched);
    append(out, points);
    append(out, static_cast<WORD>(font.lfWeight ? font.lfWeight : FW_NORMAL));
    append(out, static_cast<BYTE>(font.lfItalic));
    append(out, static_cast<BYTE>(font.lfCharSet));
    for (const wchar_t* c = font.lfFaceName; *c; ++c) append(out, static_cast<WORD>(*c));
    append(out, static_cast<WORD>(0));
    while (out.size() % 4) out.push_back(0);
    out.insert(out.end(), data + itemsStart, data + size);
    return out;
}

HWND createDialogFromTemplate(UINT id, HWND parent, DLGPROC proc, LPARAM param) {
    std::vector<BYTE> tpl = dialogTemplateWithMessageFont(ownModule(), id, dpiOf(parent));
    if (tpl.empty()) return nullptr;
    return CreateDialogIndirectParamW(ownModule(), reinterpret_cast<LPCDLGTEMPLATEW>(tpl.data()), parent, proc, param);
}

INT_PTR runModalDialog(UINT id, HWND owner, DLGPROC proc, LPARAM param) {
    std::vector<BYTE> tpl = dialogTemplateWithMessageFont(ownModule(), id, dpiOf(owner));
    if (tpl.empty()) return -1;
    return DialogBoxIndirectParamW(ownModule(), reinterpret_cast<LPCDLGTEMPLATEW>(tpl.data()), owner, proc, param);
}

void centreOnOwner(HWND window) {
    RECT self;
    GetWindowRect(window, &self);
    HWND owner = GetWindow(window, GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT around = monitor.rcWork;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &around);
    int w = self.right - self.left, h = self.bottom - self.top;
    int x = around.left + ((around.right - around.left) - w) / 2;
    int y = around.top + ((around.bottom - around.top) - h) / 2;
    const RECT& work = monitor.rcWork;
    if (x + w > work.right) x = work.right - w;
    if (y + h > work.bottom) y = work.bottom - h;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vedozer::win32ui
