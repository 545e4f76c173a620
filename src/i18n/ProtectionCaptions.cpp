#include "i18n/ProtectionCaptions.h"

#include <array>

namespace vedozer {

namespace {

using C = ProtectionCaption;
using W = ProtectionWindow;

constexpr std::array kTable{
    ProtectionCaptionEntry{C::ThreatAlertTitle, W::ThreatAlert, "frmSpywareFoundAlert_Caption", "Malicious Program Found"},
    ProtectionCaptionEntry{C::ThreatAlertDetected, W::ThreatAlert, "frmSpywareFoundAlert_lblDetected",
                           "Spyware/Adware has been detected."},
    ProtectionCaptionEntry{C::ThreatAlertStopHint, W::ThreatAlert, "frmSpywareFoundAlert_lblStop",
                           "Click STOP to stop it from running."},
    ProtectionCaptionEntry{C::ThreatAlertAllowHint, W::ThreatAlert, "frmSpywareFoundAlert_lblAllow",
                           "Click ALLOW to allow the program to run."},
    ProtectionCaptionEntry{C::ThreatAlertFileNameTitle, W::ThreatAlert, "frmSpywareFoundAlert_lblFileNameTitle", "File Name:"},
    ProtectionCaptionEntry{C::ThreatAlertCompanyTitle, W::ThreatAlert, "frmSpywareFoundAlert_lblCompanyNameTitle",
                           "Company Name:"},
    ProtectionCaptionEntry{C::ThreatAlertStop, W::ThreatAlert, "frmSpywareFoundAlert_cmdYes", "&STOP"},
    ProtectionCaptionEntry{C::ThreatAlertAllow, W::ThreatAlert, "frmSpywareFoundAlert_cmdNO", "&ALLOW"},

    ProtectionCaptionEntry{C::HomePageAlertTitle, W::HomePageAlert, "frmHomePageChangedAlert_Caption", "Home Page Changed"},
    ProtectionCaptionEntry{C::HomePageAlertProductName, W::HomePageAlert,
                           "frmHomePageChangedAlert_lblFrmHomePageProductName", "[ProgramName]"},
    ProtectionCaptionEntry{C::HomePageAlertYes, W::HomePageAlert, "frmHomePageChangedAlert_cmdYes", "&Yes"},
    ProtectionCaptionEntry{C::HomePageAlertNo, W::HomePageAlert, "frmHomePageChangedAlert_cmdNO", "&No"},

    ProtectionCaptionEntry{C::UpdateNoticeTitle, W::UpdateNotice, "frmSignatureUpdated_Caption", "[ProgramName] Live Update"},
    ProtectionCaptionEntry{C::UpdateNoticeOk, W::UpdateNotice, "frmSignatureUpdated_cmdUpdateSuccesfullOK", "OK"},

    ProtectionCaptionEntry{C::TrayMenuName, W::TrayMenu, "frmMenuPopUp_lblName", "[ProgramName]"},
    ProtectionCaptionEntry{C::TrayMenuShowProgram, W::TrayMenu, "frmMenuPopUp_mnuMaxmimaize", "Show Program"},
    ProtectionCaptionEntry{C::TrayMenuScanNow, W::TrayMenu, "frmMenuPopUp_mnuScanNow", "Scan Now"},
    ProtectionCaptionEntry{C::TrayMenuExitProgram, W::TrayMenu, "frmMenuPopUp_mnuClose", "Exit Program"},
    ProtectionCaptionEntry{C::TrayMenuClose, W::TrayMenu, "frmMenuPopUp_lblMenuClose", "Close This Menu"},

    ProtectionCaptionEntry{C::ScheduleMonday, W::Schedule, "FrmMain_cmbDays0", "Monday"},
    ProtectionCaptionEntry{C::ScheduleTuesday, W::Schedule, "FrmMain_cmbDays1", "Tuesday"},
    ProtectionCaptionEntry{C::ScheduleWednesday, W::Schedule, "FrmMain_cmbDays2", "Wednesday"},
    ProtectionCaptionEntry{C::ScheduleThursday, W::Schedule, "FrmMain_cmbDays3", "Thursday"},
    ProtectionCaptionEntry{C::ScheduleFriday, W::Schedule, "FrmMain_cmbDays4", "Friday"},
    ProtectionCaptionEntry{C::ScheduleSaturday, W::Schedule, "FrmMain_cmbDays5", "Saturday"},
    ProtectionCaptionEntry{C::ScheduleSunday, W::Schedule, "FrmMain_cmbDays6", "Sunday"},
    ProtectionCaptionEntry{C::ScheduleDaily, W::Schedule, "FrmMain_cmbDays7", "Daily"},
    ProtectionCaptionEntry{C::ScheduleDateAndTime, W::Schedule, "FrmMain_cmbDays8", "Date & Time"},
    ProtectionCaptionEntry{C::ScheduleNever, W::Schedule, "FrmMain_cmbDays9", "Never!"},
    ProtectionCaptionEntry{C::ScheduleDayTitle, W::Schedule, "FrmMain_lblScheduleDay", "&Day:"},
    ProtectionCaptionEntry{C::ScheduleDateTitle, W::Schedule, "FrmMain_lblScheduleDate", "Da&te:"},
    ProtectionCaptionEntry{C::ScheduleTimeTitle, W::Schedule, "FrmMain_lblScheduleTime", "T&ime:"},
    ProtectionCaptionEntry{C::ScheduleApply, W::Schedule, "FrmMain_CmdProceed", "A&pply"},
};

constexpr bool tableInIdOrder() {
    for (size_t i = 0; i < kTable.size(); ++i)
        if (static_cast<size_t>(kTable[i].id) != i) return false;
    return static_cast<size_t>(C::ScheduleApply) + 1 == kTable.size();
}
static_assert(tableInIdOrder(), "the protection caption table lists every id once, in order");

}  // namespace

const ProtectionCaptionEntry& protectionCaptionEntry(ProtectionCaption id) { return kTable[static_cast<size_t>(id)]; }

std::vector<ProtectionCaption> protectionCaptionsOf(ProtectionWindow window) {
    std::vector<ProtectionCaption> out;
    for (const ProtectionCaptionEntry& e : kTable)
        if (e.window == window) out.push_back(e.id);
    return out;
}

std::string captionText(const Languages& languages, ProtectionCaption id) {
    const ProtectionCaptionEntry& e = protectionCaptionEntry(id);
    std::string translated = languages.translationLookup(e.key);
    if (!translated.empty()) return translated;
    return substitutePlaceholders(e.english, languages.identity());
}

ProtectionCaption scheduleDayCaption(int day) {
    if (day < 0 || day > 9) day = 7;
    return static_cast<ProtectionCaption>(static_cast<int>(C::ScheduleMonday) + day);
}

std::vector<std::pair<std::string, std::string>> protectionCaptionItems() {
    std::vector<std::pair<std::string, std::string>> out;
    for (const ProtectionCaptionEntry& e : kTable) out.emplace_back(e.key, e.english);
    return out;
}

}  // namespace vedozer
