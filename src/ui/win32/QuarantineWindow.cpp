#include "ui/win32/QuarantineWindow.h"

#include <commctrl.h>

#include <initializer_list>

#include "ui/win32/ListView.h"
#include "ui/win32/Resource.h"
#include "ui/win32/Wide.h"

namespace vedozer::win32ui {

bool QuarantineWindow::create(HWND owner) { return DialogBase::create(IDD_QUARANTINE, owner); }

void QuarantineWindow::onInit() {
    makeBold(IDC_QUARANTINE_ITEMS_GROUP);
    makeBold(IDC_RESTORE_POINTS_GROUP);
    listview::prepare(item(IDC_QUARANTINE_LIST), false);
    listview::prepare(item(IDC_RESTORE_POINT_LIST), false);
    listview::setColumns(item(IDC_QUARANTINE_LIST), {L"Removed", L"Kind", L"Location", L"Spyware/Adware", L"State"},
                         {110, 80, 260, 130, 90});
    listview::setColumns(item(IDC_RESTORE_POINT_LIST), {L"Restore Point", L"Made", L"Holds"}, {200, 140, 300});
    m_layout.anchor(IDC_QUARANTINE_ITEMS_GROUP, AnchorLeft | AnchorTop | AnchorRight);
    m_layout.anchor(IDC_QUARANTINE_LIST, AnchorAll);
    for (int id : {IDC_REPLACE_EXISTING, IDC_RESTORE, IDC_OPEN_QUARANTINE_FOLDER, IDC_OPEN_QUARANTINE_LOG,
                   IDC_VIEW_EXCLUSIONS, IDC_RESTORE_POINT_RESTORE})
        m_layout.anchor(id, AnchorLeft | AnchorBottom);
    for (int id : {IDC_RESTORE_POINTS_GROUP, IDC_RESTORE_POINT_LIST, IDC_RESTORE_POINTS_NOTE, IDC_QUARANTINE_RESULTS})
        m_layout.anchor(id, AnchorLeft | AnchorRight | AnchorBottom);
    m_layout.anchor(IDC_QUARANTINE_CLOSE, AnchorRight | AnchorBottom);
}

void QuarantineWindow::onSize() {
    DialogBase::onSize();
    if (!m_restorePointsKeptHere) {
        // Only a note where the restore points' list would be: the items list takes the room.
        auto rectOf = [this](int id) {
            RECT r;
            GetWindowRect(item(id), &r);
            MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
            return r;
        };
        const int room = rectOf(IDC_RESTORE_POINT_RESTORE).bottom - rectOf(IDC_RESTORE_POINTS_NOTE).bottom;
        if (room > 0) {
            RECT items = rectOf(IDC_QUARANTINE_LIST);
            SetWindowPos(item(IDC_QUARANTINE_LIST), nullptr, 0, 0, items.right - items.left,
                         items.bottom - items.top + room, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            for (int id : {IDC_REPLACE_EXISTING, IDC_RESTORE, IDC_OPEN_QUARANTINE_FOLDER, IDC_OPEN_QUARANTINE_LOG,
                           IDC_VIEW_EXCLUSIONS, IDC_RESTORE_POINTS_GROUP, IDC_RESTORE_POINTS_NOTE}) {
                RECT r = rectOf(id);
                SetWindowPos(item(id), nullptr, r.left, r.top + room, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
    }
    // The items' columns share the list's width: the location the most of it.
    HWND list = item(IDC_QUARANTINE_LIST);
    RECT inside;
    GetClientRect(list, &inside);
    const int width = inside.right - GetSystemMetrics(SM_CXVSCROLL);
    const int shares[] = {18, 9, 39, 20};  // percent; the state takes the rest
    int used = 0;
    for (int i = 0; i < 4; ++i) {
        int w = width * shares[i] / 100;
        listview::setColumnWidth(list, i, w);
        used += w;
    }
    listview::setColumnWidth(list, 4, width - used);
    listview::fillLastColumn(item(IDC_RESTORE_POINT_LIST));
}

void QuarantineWindow::setCaption(CaptionId id, const std::string& text) {
    const std::wstring w = widen(text);
    switch (id) {
    case CaptionId::QuarantineTitle: setWindowTitle(text); return setText(IDC_QUARANTINE_ITEMS_GROUP, text);
    case CaptionId::QuarantineTimeColumn: return listview::setColumnTitle(item(IDC_QUARANTINE_LIST), 0, w);
    case CaptionId::QuarantineKindColumn: return listview::setColumnTitle(item(IDC_QUARANTINE_LIST), 1, w);
    case CaptionId::QuarantineLocationColumn: return listview::setColumnTitle(item(IDC_QUARANTINE_LIST), 2, w);
    case CaptionId::QuarantineSpywareColumn: return listview::setColumnTitle(item(IDC_QUARANTINE_LIST), 3, w);
    case CaptionId::QuarantineStateColumn: return listview::setColumnTitle(item(IDC_QUARANTINE_LIST), 4, w);
    case CaptionId::QuarantineRestore: return setText(IDC_RESTORE, text);
    case CaptionId::QuarantineReplace: return setText(IDC_REPLACE_EXISTING, text);
    case CaptionId::QuarantineOpenFolder: return setText(IDC_OPEN_QUARANTINE_FOLDER, text);
    case CaptionId::QuarantineOpenLog: return setText(IDC_OPEN_QUARANTINE_LOG, text);
    case CaptionId::QuarantineViewExclusions: return setText(IDC_VIEW_EXCLUSIONS, text);
    case CaptionId::RestorePointNameColumn:
        setText(IDC_RESTORE_POINTS_GROUP, text);
        return listview::setColumnTitle(item(IDC_RESTORE_POINT_LIST), 0, w);
    case CaptionId::RestorePointMadeColumn: return listview::setColumnTitle(item(IDC_RESTORE_POINT_LIST), 1, w);
    case CaptionId::RestorePointHoldsColumn: return listview::setColumnTitle(item(IDC_RESTORE_POINT_LIST), 2, w);
    case CaptionId::RestorePointRestore: return setText(IDC_RESTORE_POINT_RESTORE, text);
    case CaptionId::RestorePointsBySystem: return setText(IDC_RESTORE_POINTS_NOTE, text);
    case CaptionId::QuarantineClose: return setText(IDC_QUARANTINE_CLOSE, text);
    default: return;
    }
}

void QuarantineWindow::show() {
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
}

void QuarantineWindow::close() { ShowWindow(hwnd(), SW_HIDE); }

void QuarantineWindow::showItems(const std::vector<QuarantineRow>& rows) {
    m_items = rows;
    std::vector<listview::Row> out;
    for (const QuarantineRow& r : rows)
        out.push_back({{widen(r.time), widen(r.kind), widen(r.location), widen(r.spyware), widen(r.state)}, -1, false});
    m_updating = true;
    listview::setRows(item(IDC_QUARANTINE_LIST), out);
    m_updating = false;
}

void QuarantineWindow::showRestorePoints(const std::vector<RestorePointRow>& rows, bool keptHere) {
    m_points = rows;
    std::vector<listview::Row> out;
    for (const RestorePointRow& r : rows) out.push_back({{widen(r.name), widen(r.made), widen(r.holds)}, -1, false});
    m_updating = true;
    listview::setRows(item(IDC_RESTORE_POINT_LIST), out);
    m_updating = false;
    setVisible(IDC_RESTORE_POINT_LIST, keptHere);
    setVisible(IDC_RESTORE_POINT_RESTORE, keptHere);
    setVisible(IDC_RESTORE_POINTS_NOTE, !keptHere);
    if (keptHere != m_restorePointsKeptHere) {
        m_restorePointsKeptHere = keptHere;
        onSize();
    }
}

void QuarantineWindow::showResults(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += (text.empty() ? "" : "\r\n") + l;
    setText(IDC_QUARANTINE_RESULTS, text);
}

void QuarantineWindow::setActionEnabled(QuarantineAction action, bool enabled) {
    setEnabled(action == QuarantineAction::Restore ? IDC_RESTORE : IDC_RESTORE_POINT_RESTORE, enabled);
}

void QuarantineWindow::selectionChanged() {
    if (!onSelection) return;
    std::vector<uint64_t> ids;
    for (int row : listview::selectedRows(item(IDC_QUARANTINE_LIST)))
        if (row < static_cast<int>(m_items.size())) ids.push_back(m_items[static_cast<size_t>(row)].id);
    std::string point;
    auto points = listview::selectedRows(item(IDC_RESTORE_POINT_LIST));
    if (!points.empty() && points[0] < static_cast<int>(m_points.size()))
        point = m_points[static_cast<size_t>(points[0])].name;
    onSelection(ids, point);
}

LRESULT QuarantineWindow::onNotify(NMHDR* header) {
    if ((header->idFrom == IDC_QUARANTINE_LIST || header->idFrom == IDC_RESTORE_POINT_LIST) &&
        header->code == LVN_ITEMCHANGED && !m_updating) {
        auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
            selectionChanged();
    }
    return 0;
}

void QuarantineWindow::onCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
    case IDC_RESTORE:
        if (onRestore) onRestore(isChecked(IDC_REPLACE_EXISTING));
        break;
    case IDC_RESTORE_POINT_RESTORE:
        if (onRestorePoint) onRestorePoint();
        break;
    case IDC_OPEN_QUARANTINE_FOLDER:
        if (onOpenFolder) onOpenFolder();
        break;
    case IDC_OPEN_QUARANTINE_LOG:
        if (onOpenLog) onOpenLog();
        break;
    case IDC_VIEW_EXCLUSIONS:
        if (onViewExclusions) onViewExclusions();
        break;
    case IDC_QUARANTINE_CLOSE:
    case IDCANCEL:
        if (onClose) onClose();
        break;
    }
}

}  // namespace vedozer::win32ui
