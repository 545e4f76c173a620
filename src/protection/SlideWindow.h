#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "core/LogicalTimer.h"

namespace vedozer {

// The screen as the platform measures it, in pixels.
struct ScreenMeasures {
    int32_t desktopWidth = 0;
    int32_t desktopHeight = 0;
    int32_t taskbarHeight = 0;  // the taskbar window's client height
};

// Screen pixels are turned into twips with these factors (not 15), and a view turns twips back
// into pixels with the same ones.
inline constexpr double kTwipsPerPixelY = 14.5;
inline constexpr double kTwipsPerPixelX = 14.7;
int32_t twipsY(int32_t pixels);
int32_t twipsX(int32_t pixels);
int32_t pixelsY(int32_t twips);
int32_t pixelsX(int32_t twips);

// How a window slides: steps in twips per tick, the timers' intervals, and how many ticks of the
// rest timer pass at the top before it slides down again.
struct SlideSteps {
    int32_t upTwips = 20;
    int32_t downTwips = 40;
    uint32_t slideMillis = 10;
    uint32_t restMillis = 7000;
    int restTicks = 1;
};

enum class SlidePhase { Closed, SlidingUp, Resting, SlidingDown };

// A small window that slides up out of the taskbar at the bottom right of the screen, rests,
// slides down again and closes itself. Positions are in twips. The three timers are logical: a
// view drives them (or a test ticks them) and moves its window to top() and left() after each.
class SlideWindow {
public:
    SlideWindow(const std::string& name, SlideSteps steps);
    SlideWindow(const SlideWindow&) = delete;
    SlideWindow& operator=(const SlideWindow&) = delete;

    LogicalTimer slideUp;
    LogicalTimer rest;
    LogicalTimer slideDown;

    // Shown at the upper edge of the taskbar, right-aligned, and starts sliding up until its top
    // is at the desktop's height less its own height and 100 twips.
    void open(const ScreenMeasures& screen, int32_t heightTwips, int32_t innerWidthPixels);
    // Ends the rest at once and slides down.
    void slideDownNow();
    // Closes at once, wherever it is.
    void close();
    // The mouse over the window: while it stays there the window rests.
    void setHovered(bool hovered);
    void mouseMoved() { m_restCount = 0; }

    SlidePhase phase() const { return m_phase; }
    bool isOpen() const { return m_phase != SlidePhase::Closed; }
    int32_t top() const { return m_top; }
    int32_t left() const { return m_left; }
    int32_t targetTop() const { return m_target; }
    int32_t closeBelow() const { return m_closeBelow; }

    // Called after each move and when the window closed.
    void setOnMoved(std::function<void()> f) { m_onMoved = std::move(f); }
    void setOnClosed(std::function<void()> f) { m_onClosed = std::move(f); }

private:
    void upTick();
    void restTick();
    void downTick();
    void moved();

    SlideSteps m_steps;
    SlidePhase m_phase = SlidePhase::Closed;
    int32_t m_top = 0, m_left = 0, m_target = 0, m_closeBelow = 0;
    int m_restCount = 0;
    bool m_hovered = false;
    std::function<void()> m_onMoved, m_onClosed;
};

}  // namespace vedozer
