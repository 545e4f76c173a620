#pragma once
#include <string>

#include "i18n/Captions.h"

namespace vedozer {

// The check boxes and option buttons of the options page. Option buttons come in pairs; a
// view shows each pair as one group.
enum class OptionControl {
    WriteReport,
    ScanMemory,
    ScanRegistry,
    ScanCookies,
    SendData,
    RunAtStartup,
    AutomaticUpdate,
    ScheduledScan,
    AutoDelete,
    MemoryShieldOn,    // option pair
    MemoryShieldOff,
    MemoryShieldCheck, // the shield's own check box
    HomePageShieldOn,  // option pair
    HomePageShieldOff,
    HomePageShieldCheck,
    HomePageAsk,       // option pair: what to do when the home page changed
    HomePageSilent,
};
inline constexpr int kOptionControlCount = static_cast<int>(OptionControl::HomePageSilent) + 1;

// The tabs of the options page, in order.
inline constexpr int kOptionsTabCount = 4;

// Clicks go to OptionsPagePresenter: a check box or option button -> optionClicked, a tab ->
// tabSelected.
class OptionsPageView {
public:
    virtual ~OptionsPageView() = default;
    virtual void setCaption(CaptionId id, const std::string& text) = 0;  // CaptionGroup::OptionsPage
    virtual void setOption(OptionControl control, bool checked) = 0;
    virtual void setOptionEnabled(OptionControl control, bool enabled) = 0;
    // Options that this system does not have (protection, run at start-up on an offline
    // system) are hidden; the note says why.
    virtual void setOptionVisible(OptionControl control, bool visible) = 0;
    virtual void showProtectionNote(bool visible) = 0;
    // The schedule's day, date and time controls (their rules belong to the scheduler).
    virtual void setScheduleControlsEnabled(bool enabled) = 0;
    virtual void showTab(int index) = 0;  // 0-based
};

}  // namespace vedozer
