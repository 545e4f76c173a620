#pragma once
#include <windows.h>

#include <vector>

namespace vedozer::win32ui {

// Which edges of its dialog a control keeps its distance to. Left|Right stretches it,
// Right alone moves it with the right edge.
enum Anchor : unsigned { AnchorLeft = 1, AnchorTop = 2, AnchorRight = 4, AnchorBottom = 8 };
constexpr unsigned AnchorAll = AnchorLeft | AnchorTop | AnchorRight | AnchorBottom;

// Keeps a dialog's controls in place as the dialog grows and shrinks: lists and long texts
// grow, buttons keep their size. The template gives the layout at its designed size.
class AnchorLayout {
public:
    // Remembers the dialog's client size and every child's rectangle (call once, at init).
    void capture(HWND dialog);
    void anchor(int controlId, unsigned anchors);
    // Moves a control's left edge in the designed layout (its right edge stays); unanchored
    // controls are anchored left and top.
    void setDesignedLeft(int controlId, LONG left);
    // Places the anchored controls for the dialog's current size.
    void apply() const;

private:
    struct Entry {
        HWND control;
        RECT designed;
        unsigned anchors;
    };
    HWND m_dialog = nullptr;
    SIZE m_designed{};
    std::vector<Entry> m_entries;
};

}  // namespace vedozer::win32ui
