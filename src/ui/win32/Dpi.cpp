#include "ui/win32/Dpi.h"

namespace vedozer::win32ui {

namespace {

// Entry points newer than the SDK level the program builds for, looked up at run time.
template <class F>
F userEntry(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

void becomeDpiAware() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    if (auto set = userEntry<SetContext>("SetProcessDpiAwarenessContext")) {
        // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and _PER_MONITOR_AWARE
        if (set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4))) ||
            set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3))))
            return;
    }
    using SetAware = BOOL(WINAPI*)();
    if (auto set = userEntry<SetAware>("SetProcessDPIAware")) set();
}

UINT dpiOf(HWND window) {
    using ForWindow = UINT(WINAPI*)(HWND);
    static auto forWindow = userEntry<ForWindow>("GetDpiForWindow");
    if (window && forWindow) {
        UINT dpi = forWindow(window);
        if (dpi) return dpi;
    }
    HDC screen = GetDC(nullptr);
    UINT dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    return dpi ? dpi : 96;
}

LOGFONTW messageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    using ForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static auto forDpi = userEntry<ForDpi>("SystemParametersInfoForDpi");
    bool got = forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
    if (!got) {
        got = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        UINT systemDpi = dpiOf(nullptr);
        if (got && systemDpi != dpi) metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, systemDpi);
    }
    if (!got) {
        LOGFONTW fallback{};
        fallback.lfHeight = -MulDiv(9, static_cast<int>(dpi), 72);
        fallback.lfWeight = FW_NORMAL;
        fallback.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(fallback.lfFaceName, L"Segoe UI", LF_FACESIZE);
        return fallback;
    }
    LOGFONTW font = metrics.lfMessageFont;
    const LONG nine = -MulDiv(9, static_cast<int>(dpi), 72);
    if (font.lfHeight > nine && font.lfHeight < 0) font.lfHeight = nine;
    if (font.lfHeight > 0 && font.lfHeight < -nine) font.lfHeight = -nine;
    return font;
}

}  // namespace vedozer::win32ui
