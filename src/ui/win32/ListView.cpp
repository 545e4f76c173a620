#include "ui/win32/ListView.h"

#include <uxtheme.h>

#include "ui/win32/Dpi.h"

namespace vedozer::win32ui::listview {

void prepare(HWND list, bool checkBoxes) {
    DWORD ex = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP | LVS_EX_INFOTIP;
    if (checkBoxes) ex |= LVS_EX_CHECKBOXES;
    ListView_SetExtendedListViewStyleEx(list, ex, ex);
    SetWindowTheme(list, L"Explorer", nullptr);
}

void setColumns(HWND list, const std::vector<std::wstring>& titles, const std::vector<int>& widths) {
    const UINT dpi = dpiOf(list);
    HWND header = ListView_GetHeader(list);
    int existing = header ? Header_GetItemCount(header) : 0;
    for (int i = 0; i < static_cast<int>(titles.size()); ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(titles[static_cast<size_t>(i)].c_str());
        column.iSubItem = i;
        int width = i < static_cast<int>(widths.size()) ? widths[static_cast<size_t>(i)] : -1;
        if (width >= 0) {
            column.mask |= LVCF_WIDTH;
            column.cx = scaled(width, dpi);
        }
        if (i < existing) {
            ListView_SetColumn(list, i, &column);
        } else {
            if (width < 0) {
                column.mask |= LVCF_WIDTH;
                column.cx = scaled(100, dpi);
            }
            ListView_InsertColumn(list, i, &column);
        }
    }
}

void setColumnTitle(HWND list, int column, const std::wstring& title) {
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT;
    c.pszText = const_cast<wchar_t*>(title.c_str());
    ListView_SetColumn(list, column, &c);
}

std::vector<int> columnWidths(HWND list) {
    std::vector<int> out;
    HWND header = ListView_GetHeader(list);
    int n = header ? Header_GetItemCount(header) : 0;
    for (int i = 0; i < n; ++i) out.push_back(ListView_GetColumnWidth(list, i));
    return out;
}

void setColumnWidth(HWND list, int column, int pixels) { ListView_SetColumnWidth(list, column, pixels); }

int contentWidth(HWND list, int column) {
    const int padding = 16;
    int widest = 0;
    wchar_t text[512];
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT;
    c.pszText = text;
    c.cchTextMax = 512;
    if (ListView_GetColumn(list, column, &c)) widest = ListView_GetStringWidth(list, text) + padding;
    int extra = padding;
    if (column == 0) {
        if (ListView_GetExtendedListViewStyle(list) & LVS_EX_CHECKBOXES) extra += GetSystemMetrics(SM_CXMENUCHECK) + 4;
        if (HIMAGELIST images = ListView_GetImageList(list, LVSIL_SMALL)) {
            int cx = 0, cy = 0;
            ImageList_GetIconSize(images, &cx, &cy);
            extra += cx + 2;
        }
    }
    int rows = ListView_GetItemCount(list);
    for (int r = 0; r < rows; ++r) {
        ListView_GetItemText(list, r, column, text, 512);
        int w = ListView_GetStringWidth(list, text) + extra;
        if (w > widest) widest = w;
    }
    return widest;
}

void fillLastColumn(HWND list) {
    HWND header = ListView_GetHeader(list);
    int n = header ? Header_GetItemCount(header) : 0;
    if (n == 0) return;
    RECT client;
    GetClientRect(list, &client);
    int used = 0;
    for (int i = 0; i + 1 < n; ++i) used += ListView_GetColumnWidth(list, i);
    int rest = client.right - used;
    if (rest > 40) ListView_SetColumnWidth(list, n - 1, rest);
}

namespace {

void writeRow(HWND list, int index, const Row& row, bool insert) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | (row.image >= 0 ? LVIF_IMAGE : 0);
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(row.cells.empty() ? L"" : row.cells[0].c_str());
    item.iImage = row.image;
    if (insert)
        ListView_InsertItem(list, &item);
    else
        ListView_SetItem(list, &item);
    for (int c = 1; c < static_cast<int>(row.cells.size()); ++c)
        ListView_SetItemText(list, index, c, const_cast<wchar_t*>(row.cells[static_cast<size_t>(c)].c_str()));
    ListView_SetCheckState(list, index, row.checked ? TRUE : FALSE);
}

}  // namespace

void setRows(HWND list, const std::vector<Row>& rows) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    int count = ListView_GetItemCount(list);
    int wanted = static_cast<int>(rows.size());
    while (count > wanted) ListView_DeleteItem(list, --count);
    for (int i = 0; i < wanted; ++i) writeRow(list, i, rows[static_cast<size_t>(i)], i >= count);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void addRow(HWND list, const Row& row) { writeRow(list, ListView_GetItemCount(list), row, true); }

bool isChecked(HWND list, int row) { return ListView_GetCheckState(list, row) != FALSE; }

void setChecked(HWND list, int row, bool checked) { ListView_SetCheckState(list, row, checked ? TRUE : FALSE); }

std::vector<int> selectedRows(HWND list) {
    std::vector<int> out;
    int i = -1;
    while ((i = ListView_GetNextItem(list, i, LVNI_SELECTED)) >= 0) out.push_back(i);
    return out;
}

void setSortArrow(HWND list, int column, bool ascending) {
    HWND header = ListView_GetHeader(list);
    int n = header ? Header_GetItemCount(header) : 0;
    for (int i = 0; i < n; ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(header, i, &item);
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (i == column) item.fmt |= ascending ? HDF_SORTUP : HDF_SORTDOWN;
        Header_SetItem(header, i, &item);
    }
}

}  // namespace vedozer::win32ui::listview
