#pragma once
#include <windows.h>

#include <utility>
#include <vector>

#include "ui/win32/AnchorLayout.h"

namespace vedozer::win32ui {

// A column of titles with their values beside them ("Last scan:" | "today"). Titles are as wide
// as the longest one needs (never narrower than designed); the values start after them at the
// designed gap and keep their right edge, so a longer language moves the values instead of
// cutting the titles off.
class LabelColumn {
public:
    // Remembers the designed rectangles; call once the controls exist (after the layout's
    // anchors, whose designed rectangles follow).
    void capture(HWND dialog, AnchorLayout& layout, std::vector<std::pair<int, int>> titleAndValue);
    // After a title's text changed.
    void fit();
    // The pixels the widest title's text needs in its control's font.
    static int textWidth(HWND control);

private:
    struct Row {
        int title, value;
        RECT titleRect, valueRect;
    };
    HWND m_dialog = nullptr;
    AnchorLayout* m_layout = nullptr;
    std::vector<Row> m_rows;
};

}  // namespace vedozer::win32ui
