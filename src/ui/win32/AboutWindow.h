#pragma once
#include <functional>
#include <string>

#include "app/presenters/WindowViews.h"
#include "ui/win32/DialogBase.h"

namespace vedozer::win32ui {

// The about window, modal.
class AboutWindow : public DialogBase, public AboutView {
public:
    ~AboutWindow() override;
    void setOwner(HWND owner) { m_owner = owner; }
    void setCaption(CaptionId id, const std::string& text) override;
    void showModal(const AboutInfo& info) override;
    void close() override;

    std::function<void()> onOk, onWebsite;

protected:
    void onInit() override;
    void onCommand(int id, int code) override;
    LRESULT onNotify(NMHDR* header) override;

private:
    HWND m_owner = nullptr;
    HICON m_icon = nullptr;
    AboutInfo m_info;
    std::string m_title, m_versionTitle, m_ok;
};

}  // namespace vedozer::win32ui
