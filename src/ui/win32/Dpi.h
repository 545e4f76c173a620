#pragma once
#include <windows.h>

namespace vedozer::win32ui {

// Asks for per-monitor (v2 where the system has it) DPI awareness before any window exists;
// the manifest says the same, this covers systems that ignore it.
void becomeDpiAware();

// The DPI a window is drawn at (the system's before a window exists).
UINT dpiOf(HWND window);
inline int scaled(int pixelsAt96, UINT dpi) { return MulDiv(pixelsAt96, static_cast<int>(dpi), 96); }

// The system message font (Segoe UI 9 pt on current Windows) at a DPI, never smaller than 9 pt:
// systems that still say 8 pt Tahoma get the size the layouts are designed for.
LOGFONTW messageFont(UINT dpi);

}  // namespace vedozer::win32ui
