#pragma once
#include <functional>
#include <string>

#include "core/LogicalTimer.h"
#include "app/presenters/WindowViews.h"

namespace vedozer {

// The splash window: shown first; its timer (2 ms) counts in steps of two, and on the 75th tick
// it stops, the main window loads and the splash window closes.
class SplashPresenter {
public:
    SplashPresenter(SplashView& view, std::function<void()> loadMainWindow);

    void start(const std::string& programName, const std::string& version, const std::string& loadingText);
    void tick();
    LogicalTimer& timer() { return m_timer; }
    bool done() const { return m_done; }

private:
    SplashView& m_view;
    std::function<void()> m_loadMainWindow;
    LogicalTimer m_timer{"splash", 2};
    int m_counter = 0;
    bool m_done = false;
};

}  // namespace vedozer
