#include "protection/UpdateNotice.h"

#include "settings/SettingsKeys.h"

namespace vedozer {

namespace {
constexpr SlideSteps kNoticeSlide{20, 40, 10, 7000, 1};
}

UpdateNotice::UpdateNotice(Settings& settings) : window("update notice", kNoticeSlide), m_settings(settings) {
    window.setOnClosed([this] { closed(); });
}

std::string UpdateNotice::defaultText() const {
    return "All " + m_settings.appName() +
           " signatures have been updated automatically.  You are now protected from new malicious applications.";
}

void UpdateNotice::show(const ScreenMeasures& screen, int32_t heightTwips, int32_t innerWidthPixels,
                        const std::string& message) {
    m_text = message.empty() ? defaultText() : message;
    window.open(screen, heightTwips, innerWidthPixels);
}

void UpdateNotice::closed() {
    m_settings.save(skey::OptionAndSettings, skey::SHOW, "false");
    if (m_onClosed) m_onClosed();
}

}  // namespace vedozer
