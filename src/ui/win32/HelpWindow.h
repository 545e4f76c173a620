#pragma once
#include <functional>
#include <string>

#include "app/presenters/WindowViews.h"
#include "ui/win32/DialogBase.h"

namespace vedozer::win32ui {

// The help window (when there is no help file). Modeless.
class HelpWindow : public DialogBase, public HelpView {
public:
    bool create(HWND owner);
    void setCaption(CaptionId id, const std::string& text) override;
    void show() override;
    void close() override;

    std::function<void()> onOk;

protected:
    void onInit() override;
    void onCommand(int id, int code) override;
};

}  // namespace vedozer::win32ui
