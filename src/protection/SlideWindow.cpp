#include "protection/SlideWindow.h"

#include <cmath>

namespace vedozer {

int32_t twipsY(int32_t pixels) { return static_cast<int32_t>(std::lround(pixels * kTwipsPerPixelY)); }
int32_t twipsX(int32_t pixels) { return static_cast<int32_t>(std::lround(pixels * kTwipsPerPixelX)); }
int32_t pixelsY(int32_t twips) { return static_cast<int32_t>(std::lround(twips / kTwipsPerPixelY)); }
int32_t pixelsX(int32_t twips) { return static_cast<int32_t>(std::lround(twips / kTwipsPerPixelX)); }

SlideWindow::SlideWindow(const std::string& name, SlideSteps steps)
    : slideUp(name + " slide up", steps.slideMillis),
      rest(name + " rest", steps.restMillis),
      slideDown(name + " slide down", steps.slideMillis),
      m_steps(steps) {
    slideUp.setHandler([this] { upTick(); });
    rest.setHandler([this] { restTick(); });
    slideDown.setHandler([this] { downTick(); });
}

void SlideWindow::open(const ScreenMeasures& screen, int32_t heightTwips, int32_t innerWidthPixels) {
    rest.setEnabled(false);
    slideDown.setEnabled(false);
    m_restCount = 0;
    m_top = twipsY(screen.desktopHeight - screen.taskbarHeight);
    m_left = twipsX(screen.desktopWidth - innerWidthPixels);
    m_target = twipsY(screen.desktopHeight) - (heightTwips + 100);
    // Once its top has passed the bottom of the screen nothing of it shows any more.
    m_closeBelow = twipsY(screen.desktopHeight);
    m_phase = SlidePhase::SlidingUp;
    moved();
    slideUp.setEnabled(true);
}

void SlideWindow::upTick() {
    if (m_top > m_target) {
        m_top -= m_steps.upTwips;
        moved();
        return;
    }
    slideUp.setEnabled(false);
    m_phase = SlidePhase::Resting;
    m_restCount = 0;
    rest.setEnabled(true);
}

void SlideWindow::restTick() {
    if (m_hovered) {
        m_restCount = 0;
        return;
    }
    if (++m_restCount < m_steps.restTicks) return;
    m_restCount = 0;
    slideDownNow();
}

void SlideWindow::slideDownNow() {
    if (!isOpen()) return;
    slideUp.setEnabled(false);
    rest.setEnabled(false);
    m_phase = SlidePhase::SlidingDown;
    slideDown.setEnabled(true);
}

void SlideWindow::downTick() {
    m_top += m_steps.downTwips;
    moved();
    if (m_top > m_closeBelow) close();
}

void SlideWindow::close() {
    if (!isOpen()) return;
    slideUp.setEnabled(false);
    rest.setEnabled(false);
    slideDown.setEnabled(false);
    m_phase = SlidePhase::Closed;
    if (m_onClosed) m_onClosed();
}

void SlideWindow::setHovered(bool hovered) {
    m_hovered = hovered;
    if (hovered) m_restCount = 0;
}

void SlideWindow::moved() {
    if (m_onMoved) m_onMoved();
}

}  // namespace vedozer
