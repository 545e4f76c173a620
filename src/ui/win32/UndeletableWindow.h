#pragma once
#include <functional>
#include <string>

#include "app/presenters/WindowViews.h"
#include "ui/win32/DialogBase.h"

namespace vedozer::win32ui {

// The list of items a removal could not delete, with Copy List and Ok. Modeless.
class UndeletableWindow : public DialogBase, public UndeletableView {
public:
    bool create(HWND owner);
    void setCaption(CaptionId id, const std::string& text) override;
    void showItems(const std::vector<std::string>& locations) override;
    void show() override;
    void hide() override;
    void setClipboardText(const std::string& text) override;

    std::function<void()> onOk, onCopyList;

protected:
    void onInit() override;
    void onCommand(int id, int code) override;
    void onSize() override;
};

}  // namespace vedozer::win32ui
