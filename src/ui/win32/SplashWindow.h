#pragma once
#include <functional>
#include <string>

#include "app/presenters/WindowViews.h"
#include "ui/win32/DialogBase.h"

namespace vedozer::win32ui {

// The splash window shown while the program loads.
class SplashWindow : public DialogBase, public SplashView {
public:
    ~SplashWindow() override;
    bool create();
    void show(const std::string& programName, const std::string& version, const std::string& loadingText) override;
    void close() override;

protected:
    bool windowBackground() const override { return true; }

private:
    HICON m_icon = nullptr;
};

}  // namespace vedozer::win32ui
