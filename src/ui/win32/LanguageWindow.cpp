#include "ui/win32/LanguageWindow.h"

#include <commctrl.h>

#include "ui/win32/ListView.h"
#include "ui/win32/Resource.h"
#include "ui/win32/Wide.h"

namespace vedozer::win32ui {

namespace {

int controlOf(CaptionId id) {
    switch (id) {
    case CaptionId::LanguagePrompt: return IDC_LANGUAGE_PROMPT;
    case CaptionId::LanguageCheckUpdates: return IDC_LANGUAGE_UPDATE;
    case CaptionId::LanguageTranslate: return IDC_LANGUAGE_TRANSLATE;
    case CaptionId::LanguageOk: return IDC_LANGUAGE_OK;
    default: return 0;
    }
}

}  // namespace

void LanguageWindow::setTitle(const std::string& title) {
    m_title = title;
    if (hwnd()) setWindowTitle(title);
}

void LanguageWindow::setCaption(CaptionId id, const std::string& text) {
    if (!controlOf(id)) return;
    m_captions[id] = text;
    if (hwnd()) applyCaption(id);
}

void LanguageWindow::applyCaption(CaptionId id) {
    auto it = m_captions.find(id);
    if (it != m_captions.end()) setText(controlOf(id), it->second);
}

void LanguageWindow::showLanguages(const std::vector<std::string>& names, int chosen) {
    m_names = names;
    m_chosen = chosen;
    if (hwnd()) fillList();
}

void LanguageWindow::fillList() {
    HWND list = item(IDC_LANGUAGE_LIST);
    std::vector<listview::Row> rows;
    for (const std::string& name : m_names) rows.push_back({{widen(name)}, -1, false});
    // Rows and the selection written here are the presenter's, not the person's choice.
    m_updating = true;
    listview::setRows(list, rows);
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (m_chosen >= 0 && m_chosen < static_cast<int>(m_names.size())) {
        ListView_SetItemState(list, m_chosen, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, m_chosen, FALSE);
    }
    m_updating = false;
    listview::fillLastColumn(list);
}

void LanguageWindow::showModal() { runModal(IDD_LANGUAGE, m_owner); }

void LanguageWindow::close() { endModal(IDOK); }

void LanguageWindow::onInit() {
    HWND list = item(IDC_LANGUAGE_LIST);
    listview::prepare(list, false);
    listview::setColumns(list, {L""});
    setWindowTitle(m_title);
    for (const auto& [id, text] : m_captions) applyCaption(id);
    fillList();
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
}

void LanguageWindow::onCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    if (id == IDC_LANGUAGE_OK || id == IDCANCEL) {
        if (onOk)
            onOk();
        else
            close();
    }
    if (id == IDC_LANGUAGE_UPDATE && onCheckForUpdates) onCheckForUpdates();
    if (id == IDC_LANGUAGE_TRANSLATE && onTranslate) onTranslate();
}

LRESULT LanguageWindow::onNotify(NMHDR* header) {
    if (header->idFrom != IDC_LANGUAGE_LIST || header->code != LVN_ITEMCHANGED || m_updating) return 0;
    auto* change = reinterpret_cast<NMLISTVIEW*>(header);
    bool nowSelected = (change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED);
    if (!nowSelected || change->iItem < 0 || change->iItem == m_chosen) return 0;
    m_chosen = change->iItem;
    if (onChosen) onChosen(static_cast<size_t>(change->iItem));
    return 0;
}

}  // namespace vedozer::win32ui
