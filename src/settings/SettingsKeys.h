#pragma once

// Sections and keys of the settings store, spelled as stored.
namespace vedozer::skey {

// Sections.
inline constexpr char OptionAndSettings[] = "OptionAndSettings";
inline constexpr char Settings[] = "Settings";
inline constexpr char Drives[] = "Drives";

// OptionAndSettings.
inline constexpr char chkAutomaticScanYesOrNo[] = "chkAutomaticScanYesOrNo";
inline constexpr char Day[] = "Day";
inline constexpr char Time[] = "Time";
inline constexpr char Date[] = "Date";
inline constexpr char optIEHomePageSheildOn[] = "optIEHomePageSheildOn";
inline constexpr char optIEHomePageSheildOff[] = "optIEHomePageSheildOff";
inline constexpr char optAlwaysnotifybeforerestoring[] = "optAlwaysnotifybeforerestoring";
inline constexpr char optRestoredefaultwithoutnotification[] = "optRestoredefaultwithoutnotification";
inline constexpr char Homepage[] = "Homepage";
inline constexpr char optMemorySheildOn[] = "optMemorySheildOn";
inline constexpr char optMemorySheildOff[] = "optMemorySheildOff";
inline constexpr char optScanAllSelectedHardDrive[] = "optScanAllSelectedHardDrive";
inline constexpr char optScanOnlyKnownSoftwares[] = "optScanOnlyKnownSoftwares";
inline constexpr char chkMakeLog[] = "chkMakeLog";
inline constexpr char chkSweepMemory[] = "chkSweepMemory";
inline constexpr char chkScanRegistry[] = "chkScanRegistry";
inline constexpr char chkScanCookies[] = "chkScanCookies";
inline constexpr char chkSendData[] = "chkSendData";
inline constexpr char chkRunAtStartup[] = "chkRunAtStartup";
inline constexpr char chkAutomaticUpdate[] = "chkAutomaticUpdate";
inline constexpr char SHOW[] = "SHOW";
inline constexpr char RESTART[] = "RESTART";
inline constexpr char STATUS[] = "STATUS";

// Settings (per user; FirstTime and showHelp also machine-wide).
inline constexpr char Language[] = "Language";
inline constexpr char showHelp[] = "showHelp";
inline constexpr char Minimized[] = "Minimized";
inline constexpr char lblLastScan[] = "lblLastScan";
inline constexpr char lblLastFullScan[] = "lblLastFullScan";
inline constexpr char lblDefRemoved[] = "lblDefRemoved";
inline constexpr char ranOneTime[] = "ranOneTime";
inline constexpr char chkAutoDel[] = "chkAutoDel";
inline constexpr char Max[] = "Max";
inline constexpr char IgnorePermissionDeniedError[] = "IgnorePermissionDeniedError";
inline constexpr char FirstTime[] = "FirstTime";

}  // namespace vedozer::skey
