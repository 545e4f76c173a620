#include "app/presenters/SplashPresenter.h"

namespace vedozer {

SplashPresenter::SplashPresenter(SplashView& view, std::function<void()> loadMainWindow)
    : m_view(view), m_loadMainWindow(std::move(loadMainWindow)) {
    m_timer.setHandler([this] { tick(); });
}

void SplashPresenter::start(const std::string& programName, const std::string& version, const std::string& loadingText) {
    m_view.show(programName, version, loadingText);
    m_timer.setEnabled(true);
}

void SplashPresenter::tick() {
    if (m_done) return;
    int before = m_counter;
    m_counter += 2;
    if (before != 148) return;
    m_done = true;
    m_timer.setEnabled(false);
    if (m_loadMainWindow) m_loadMainWindow();
    m_view.close();
}

}  // namespace vedozer
