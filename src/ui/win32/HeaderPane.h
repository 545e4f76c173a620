#pragma once
#include <functional>
#include <string>

#include "ui/win32/DialogBase.h"
#include "ui/win32/LabelColumn.h"

namespace vedozer::win32ui {

// The band above the pages: the protection state as an icon and in words, the definitions,
// the shields and the last scan. Help and About sit at its right.
class HeaderPane : public DialogBase {
public:
    ~HeaderPane() override;
    bool create(HWND mainWindow);
    enum class State { Ok, Attention, Threats };
    void show(State state, const std::string& stateText, const std::string& definitions, const std::string& shields,
              const std::string& lastScan);
    // A caption of the band (a title or a button); the titles' column widens to the longest.
    void setCaptionText(int controlId, const std::string& text);
    std::function<void(int controlId)> onClick;
    SIZE designedSize() const { return m_designed; }

protected:
    void onInit() override;
    void onCommand(int id, int code) override;
    bool windowBackground() const override { return true; }
    bool onMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    SIZE m_designed{};
    LabelColumn m_titles;
    HICON m_icon = nullptr;
    State m_state = State::Ok;
    bool m_shown = false;
};

}  // namespace vedozer::win32ui
