#pragma once
#include <functional>
#include <string>

#include "app/presenters/WindowViews.h"
#include "ui/win32/DialogBase.h"

namespace vedozer::win32ui {

// The report viewer: the report in a read-only text box, modal.
class ReportWindow : public DialogBase, public ReportView {
public:
    ~ReportWindow() override;
    void setOwner(HWND owner) { m_owner = owner; }
    void setCaption(CaptionId id, const std::string& text) override;
    void setTitle(const std::string& title) override;
    void setText(const std::string& text) override;
    void showModal() override;
    void close() override;

    std::function<void()> onOk;

protected:
    void onInit() override;
    void onCommand(int id, int code) override;

private:
    HWND m_owner = nullptr;
    HFONT m_fixed = nullptr;
    std::string m_title, m_text, m_ok;
};

}  // namespace vedozer::win32ui
