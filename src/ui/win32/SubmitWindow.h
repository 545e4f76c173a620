#pragma once
#include <functional>
#include <string>

#include "app/presenters/WindowViews.h"
#include "ui/win32/DialogBase.h"

namespace vedozer::win32ui {

// The submission box. Modeless.
class SubmitWindow : public DialogBase, public SubmitView {
public:
    bool create(HWND owner);
    void setCaption(CaptionId id, const std::string& text) override;
    void show() override;
    void close() override;
    void setFileName(const std::string& text) override;
    void setResult(const std::string& text) override;
    void setSubmitEnabled(bool enabled) override;

    std::function<void(const std::string&)> onFileNameChanged;
    std::function<void()> onSubmit, onClose;

protected:
    void onCommand(int id, int code) override;
};

}  // namespace vedozer::win32ui
