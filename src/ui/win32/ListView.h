#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace vedozer::win32ui {

// Thin helpers over a report-style list view; texts are UTF-16 here.
namespace listview {

// Full-row selection, double buffering, the Explorer look; check boxes when asked.
void prepare(HWND list, bool checkBoxes);
// Sets the columns (adding or renaming them); widths in pixels at 96 DPI (scaled to the list's),
// -1 keeps the current width.
void setColumns(HWND list, const std::vector<std::wstring>& titles, const std::vector<int>& widths = {});
void setColumnTitle(HWND list, int column, const std::wstring& title);
std::vector<int> columnWidths(HWND list);
void setColumnWidth(HWND list, int column, int pixels);
// The width a column needs to show its header and every row's text whole (with the row's
// check box and icon in the first column).
int contentWidth(HWND list, int column);
// Stretches the last column to the list's client width.
void fillLastColumn(HWND list);

struct Row {
    std::vector<std::wstring> cells;
    int image = -1;  // -1: no icon
    bool checked = false;
};
// Replaces every row, keeping the scroll position where the rows are the same number.
void setRows(HWND list, const std::vector<Row>& rows);
void addRow(HWND list, const Row& row);
bool isChecked(HWND list, int row);
void setChecked(HWND list, int row, bool checked);
// Selected rows, top to bottom.
std::vector<int> selectedRows(HWND list);
// The arrow on a column header; column -1 clears it.
void setSortArrow(HWND list, int column, bool ascending);

}  // namespace listview
}  // namespace vedozer::win32ui
