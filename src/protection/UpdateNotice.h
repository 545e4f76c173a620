#pragma once
#include <functional>
#include <string>

#include "protection/SlideWindow.h"
#include "settings/Settings.h"

namespace vedozer {

// The notice after every Live Update (frmSignatureUpdated): it slides up out of the taskbar in
// steps of 20 twips every 10 ms, rests for seven seconds, slides down in steps of 40 twips every
// 10 ms and closes itself; OK closes it at any stage.
class UpdateNotice {
public:
    explicit UpdateNotice(Settings& settings);

    SlideWindow window;

    // Opens the notice with Live Update's closing message (the default text when it is empty).
    void show(const ScreenMeasures& screen, int32_t heightTwips, int32_t innerWidthPixels, const std::string& message);
    // OK, and the end of the slide down: SHOW = "false", then whatever the front end does on close
    // (the Live Update window's own notification-area icon goes).
    void okClicked() { window.close(); }
    const std::string& text() const { return m_text; }
    void setOnClosed(std::function<void()> f) { m_onClosed = std::move(f); }

    // "All <program> signatures have been updated automatically.  You are now protected from new
    // malicious applications."
    std::string defaultText() const;

private:
    void closed();

    Settings& m_settings;
    std::string m_text;
    std::function<void()> m_onClosed;
};

}  // namespace vedozer
