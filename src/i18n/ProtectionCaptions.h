#pragma once
#include <string>
#include <utility>
#include <vector>

#include "i18n/Languages.h"

namespace vedozer {

// The windows of real-time protection, each with captions of its own.
enum class ProtectionWindow { ThreatAlert, HomePageAlert, UpdateNotice, TrayMenu, Schedule };

// Every caption of those windows: labels, buttons, menu entries, the day list.
enum class ProtectionCaption {
    // The memory shield's alert.
    ThreatAlertTitle, ThreatAlertDetected, ThreatAlertStopHint, ThreatAlertAllowHint,
    ThreatAlertFileNameTitle, ThreatAlertCompanyTitle, ThreatAlertStop, ThreatAlertAllow,
    // The home-page shield's alert.
    HomePageAlertTitle, HomePageAlertProductName, HomePageAlertYes, HomePageAlertNo,
    // The notice after Live Update.
    UpdateNoticeTitle, UpdateNoticeOk,
    // The notification-area icon's pop-up menu.
    TrayMenuName, TrayMenuShowProgram, TrayMenuScanNow, TrayMenuExitProgram, TrayMenuClose,
    // The schedule on the options page: the day list (in its stored order), the pickers, Apply.
    ScheduleMonday, ScheduleTuesday, ScheduleWednesday, ScheduleThursday, ScheduleFriday, ScheduleSaturday,
    ScheduleSunday, ScheduleDaily, ScheduleDateAndTime, ScheduleNever,
    ScheduleDayTitle, ScheduleDateTitle, ScheduleTimeTitle, ScheduleApply,
};

struct ProtectionCaptionEntry {
    ProtectionCaption id;
    ProtectionWindow window;
    const char* key;      // as Localization.txt carries it: window + "_" + control (+ index)
    const char* english;  // the built-in text; may hold the catalogue's placeholders
};

const ProtectionCaptionEntry& protectionCaptionEntry(ProtectionCaption id);
std::vector<ProtectionCaption> protectionCaptionsOf(ProtectionWindow window);
// The caption in the current language: the loaded translation of its key when there is one,
// else the English text, placeholders substituted either way.
std::string captionText(const Languages& languages, ProtectionCaption id);
// The day list's item for a stored Day value (0 Monday ... 9 "Never!").
ProtectionCaption scheduleDayCaption(int day);
// Every caption as a localization item (key, English text), in table order.
std::vector<std::pair<std::string, std::string>> protectionCaptionItems();

}  // namespace vedozer
