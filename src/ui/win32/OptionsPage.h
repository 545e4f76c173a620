#pragma once
#include <array>
#include <functional>
#include <memory>

#include "app/presenters/OptionsPageView.h"
#include "ui/win32/DialogBase.h"

namespace vedozer::win32ui {

// The options page: a tab strip over four tab pages (scanning, protection, schedule, general)
// of check boxes and option buttons, each saved by the presenter the moment it changes.
class OptionsPage : public DialogBase, public OptionsPageView {
public:
    OptionsPage();
    ~OptionsPage() override;
    bool create(HWND mainWindow);

    void setCaption(CaptionId id, const std::string& text) override;
    void setOption(OptionControl control, bool checked) override;
    void setOptionEnabled(OptionControl control, bool enabled) override;
    void setOptionVisible(OptionControl control, bool visible) override;
    void showProtectionNote(bool visible) override;
    void setScheduleControlsEnabled(bool enabled) override;
    void showTab(int index) override;

    std::function<void(OptionControl, bool checked)> onOption;
    std::function<void(int tab)> onTab;

    class Tab;

protected:
    void onInit() override;
    LRESULT onNotify(NMHDR* header) override;
    void onSize() override;
    bool windowBackground() const override { return true; }

private:
    friend class Tab;
    void tabCommand(int id, int code);
    Tab* tabOf(int controlId);
    void placeTabs();

    std::array<std::unique_ptr<Tab>, kOptionsTabCount> m_tabs;
    int m_current = 0;
};

}  // namespace vedozer::win32ui
