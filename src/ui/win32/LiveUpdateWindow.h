#pragma once
#include <functional>
#include <string>

#include "app/presenters/WindowViews.h"
#include "ui/win32/DialogBase.h"

namespace vedozer::win32ui {

// The Live Update progress window. Modeless; Cancel only closes it.
class LiveUpdateWindow : public DialogBase, public LiveUpdateView {
public:
    ~LiveUpdateWindow() override;
    bool create(HWND owner);
    void setCaption(CaptionId id, const std::string& text) override;
    void show() override;
    void close() override;
    void setStatusText(const std::string& text) override;
    void setBlinkText(const std::string& text) override;
    void showArrow(bool up) override;
    void showTrayIcon(const std::string& tooltip) override;
    void removeTrayIcon() override;

    std::function<void()> onCancel;

protected:
    void onInit() override;
    void onCommand(int id, int code) override;

private:
    HICON m_up = nullptr, m_down = nullptr, m_small = nullptr;
    bool m_trayIcon = false;
};

}  // namespace vedozer::win32ui
