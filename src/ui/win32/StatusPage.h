#pragma once
#include <functional>

#include "app/presenters/StatusPageView.h"
#include "ui/win32/DialogBase.h"
#include "ui/win32/LabelColumn.h"

namespace vedozer::win32ui {

// The status page: the definitions, the version, the removed total and the last scans, with
// Scan Now, Live Update and Show Report. It also carries the welcome line and the website link
// of the main window.
class StatusPage : public DialogBase, public StatusPageView {
public:
    bool create(HWND mainWindow);

    void setCaption(CaptionId id, const std::string& text) override;
    void showStatus(const StatusPageState& state) override;
    void setActionEnabled(StatusAction action, bool enabled) override;

    std::function<void(StatusAction)> onAction;
    std::function<void()> onWebsite;

protected:
    void onInit() override;
    void onCommand(int id, int code) override;
    LRESULT onNotify(NMHDR* header) override;
    bool windowBackground() const override { return true; }
    bool onMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    bool m_definitionsMissing = false;
    LabelColumn m_titles;
};

}  // namespace vedozer::win32ui
