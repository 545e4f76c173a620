#pragma once
#include <windows.h>

namespace vedozer::win32ui {

// True while the person uses a high-contrast scheme: then only system colours are drawn.
bool highContrast();

// Text colour for a warning: a dark red, or the system's text colour in high contrast.
COLORREF warningTextColour();

}  // namespace vedozer::win32ui
