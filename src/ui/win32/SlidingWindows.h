#pragma once
#include <functional>
#include <map>
#include <string>

#include "app/presenters/ProtectionViews.h"
#include "ui/win32/DialogBase.h"

namespace vedozer::win32ui {

// The desktop's and the taskbar's client sizes in pixels, as the sliding windows measure them.
ScreenMeasures measureScreen();

// The notice after Live Update: a small layered window on top of everything, without a task-bar
// button, shown without taking the focus and moved wherever its presenter says.
class UpdateNoticeWindow : public DialogBase, public UpdateNoticeView {
public:
    ~UpdateNoticeWindow() override;
    bool create();
    void setCaption(ProtectionCaption id, const std::string& text) override;
    ScreenMeasures screen() const override { return measureScreen(); }
    int32_t heightPixels() const override;
    int32_t innerWidthPixels() const override;
    void setText(const std::string& text) override;
    void show() override;
    void moveTo(int32_t leftPixels, int32_t topPixels) override;
    void close() override { ShowWindow(hwnd(), SW_HIDE); }

    std::function<void()> onOk;

protected:
    void onInit() override;
    void onCommand(int id, int code) override;

private:
    HICON m_icon = nullptr;
};

// The notification-area icon (owned by the main window, which hands its mouse messages on) and
// the pop-up menu that slides up beside it.
class TrayWindow : public DialogBase, public TrayView {
public:
    ~TrayWindow() override;
    bool create(HWND mainWindow, UINT callbackMessage);

    void showIcon(const std::string& tooltip) override { notify(true, tooltip); }
    void setTooltip(const std::string& tooltip) override { notify(false, tooltip); }
    void removeIcon() override;

    void setMenuCaption(ProtectionCaption id, const std::string& text) override;
    void setEntryEnabled(TrayMenuEntry entry, bool enabled) override;
    void setCloseEntryBold(bool bold) override;
    ScreenMeasures screen() const override { return measureScreen(); }
    int32_t menuHeightPixels() const override;
    int32_t menuInnerWidthPixels() const override;
    void showMenu() override;
    void moveMenu(int32_t leftPixels, int32_t topPixels) override;
    void closeMenu() override;

    std::function<void(TrayMenuEntry)> onEntry;
    std::function<void(bool inside)> onMouseOver;
    std::function<void()> onMouseMoved;
    std::function<void(bool over)> onCloseEntryHover;

protected:
    void onInit() override;
    void onCommand(int id, int code) override;
    bool onMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void notify(bool add, const std::string& tooltip);
    void mouseAt(HWND under);

    HWND m_main = nullptr;
    UINT m_callbackMessage = 0;
    HICON m_icon = nullptr;
    bool m_iconShown = false;
    bool m_hovered = false;
    bool m_overClose = false;
    HFONT m_normalFont = nullptr;
};

}  // namespace vedozer::win32ui
