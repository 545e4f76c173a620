#pragma once
#include <functional>

#include "ui/win32/DialogBase.h"

namespace vedozer::win32ui {

// The navigation column at the left of the main window: the four pages (the current one shown
// pressed), the main actions and the less frequent commands at its foot.
class NavigationBar : public DialogBase {
public:
    bool create(HWND mainWindow) { return DialogBase::create(IDD, mainWindow); }
    // Marks the page button with this control id as the current page.
    void markCurrent(int pageButtonId);
    // Clicks, by control id.
    std::function<void(int controlId)> onClick;
    // Pixel size of the column as designed.
    SIZE designedSize() const { return m_designed; }

    static constexpr UINT IDD = 100;  // IDD_NAVIGATION

protected:
    void onInit() override;
    void onCommand(int id, int code) override;

private:
    SIZE m_designed{};
};

}  // namespace vedozer::win32ui
