#include "ui/win32/Colours.h"

namespace vedozer::win32ui {

bool highContrast() {
    HIGHCONTRASTW hc{};
    hc.cbSize = sizeof hc;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
}

COLORREF warningTextColour() { return highContrast() ? GetSysColor(COLOR_WINDOWTEXT) : RGB(0xB0, 0x1E, 0x1E); }

}  // namespace vedozer::win32ui
