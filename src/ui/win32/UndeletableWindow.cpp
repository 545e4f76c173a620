#include "ui/win32/UndeletableWindow.h"

#include <commctrl.h>

#include <cstring>
#include <initializer_list>

#include "ui/win32/ListView.h"
#include "ui/win32/Resource.h"
#include "ui/win32/Wide.h"

namespace vedozer::win32ui {

bool UndeletableWindow::create(HWND owner) { return DialogBase::create(IDD_UNDELETABLE, owner); }

void UndeletableWindow::onInit() {
    HWND list = item(IDC_UNDELETABLE_LIST);
    listview::prepare(list, false);
    listview::setColumns(list, {L"Location"});
    for (int id : {IDC_UNDELETABLE_TEXT1, IDC_UNDELETABLE_TEXT2}) m_layout.anchor(id, AnchorLeft | AnchorTop | AnchorRight);
    m_layout.anchor(IDC_UNDELETABLE_LIST, AnchorAll);
    m_layout.anchor(IDC_COPY_LIST, AnchorLeft | AnchorBottom);
    m_layout.anchor(IDC_UNDELETABLE_OK, AnchorRight | AnchorBottom);
}

void UndeletableWindow::onSize() {
    DialogBase::onSize();
    listview::fillLastColumn(item(IDC_UNDELETABLE_LIST));
}

void UndeletableWindow::setCaption(CaptionId id, const std::string& text) {
    switch (id) {
    case CaptionId::UndeletableTitle: return setWindowTitle(text);
    case CaptionId::UndeletableText1: return setText(IDC_UNDELETABLE_TEXT1, text);
    case CaptionId::UndeletableText2: return setText(IDC_UNDELETABLE_TEXT2, text);
    case CaptionId::UndeletableColumn: return listview::setColumnTitle(item(IDC_UNDELETABLE_LIST), 0, widen(text));
    case CaptionId::UndeletableOk: return setText(IDC_UNDELETABLE_OK, text);
    case CaptionId::UndeletableCopyList: return setText(IDC_COPY_LIST, text);
    default: return;
    }
}

void UndeletableWindow::showItems(const std::vector<std::string>& locations) {
    std::vector<listview::Row> rows;
    for (const std::string& l : locations) rows.push_back({{widen(l)}, -1, false});
    listview::setRows(item(IDC_UNDELETABLE_LIST), rows);
    listview::fillLastColumn(item(IDC_UNDELETABLE_LIST));
}

void UndeletableWindow::show() {
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(IDC_UNDELETABLE_OK)), TRUE);
}

void UndeletableWindow::hide() { ShowWindow(hwnd(), SW_HIDE); }

void UndeletableWindow::setClipboardText(const std::string& text) {
    if (!OpenClipboard(hwnd())) return;
    EmptyClipboard();
    if (!text.empty()) {
        std::wstring wide = widen(text);
        const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
        if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
            std::memcpy(GlobalLock(memory), wide.c_str(), bytes);
            GlobalUnlock(memory);
            if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
        }
    }
    CloseClipboard();
}

void UndeletableWindow::onCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    if ((id == IDC_UNDELETABLE_OK || id == IDCANCEL) && onOk) onOk();
    if (id == IDC_COPY_LIST && onCopyList) onCopyList();
}

}  // namespace vedozer::win32ui
