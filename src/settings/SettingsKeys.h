#pragma once

// Sections and keys of the settings store. The identifiers say what a setting is; the strings
// are spelled exactly as stored (misspellings included), since existing stores rely on them.
namespace vedozer::skey {

// Sections.
inline constexpr char OptionAndSettings[] = "OptionAndSettings";
inline constexpr char Settings[] = "Settings";
inline constexpr char Drives[] = "Drives";

// OptionAndSettings.
inline constexpr char scheduledScanOn[] = "chkAutomaticScanYesOrNo";
inline constexpr char Day[] = "Day";
inline constexpr char Time[] = "Time";
inline constexpr char Date[] = "Date";
inline constexpr char homePageShieldOn[] = "optIEHomePageSheildOn";
inline constexpr char homePageShieldOff[] = "optIEHomePageSheildOff";
inline constexpr char homePageAskBeforeRestoring[] = "optAlwaysnotifybeforerestoring";
inline constexpr char homePageRestoreSilently[] = "optRestoredefaultwithoutnotification";
inline constexpr char Homepage[] = "Homepage";
inline constexpr char memoryShieldOn[] = "optMemorySheildOn";
inline constexpr char memoryShieldOff[] = "optMemorySheildOff";
inline constexpr char completeScanMode[] = "optScanAllSelectedHardDrive";
inline constexpr char quickScanMode[] = "optScanOnlyKnownSoftwares";
inline constexpr char writeReport[] = "chkMakeLog";
inline constexpr char scanMemory[] = "chkSweepMemory";
inline constexpr char scanRegistry[] = "chkScanRegistry";
inline constexpr char scanCookies[] = "chkScanCookies";
inline constexpr char sendAnonymousData[] = "chkSendData";
inline constexpr char runAtStartup[] = "chkRunAtStartup";
inline constexpr char automaticUpdate[] = "chkAutomaticUpdate";
inline constexpr char SHOW[] = "SHOW";        // "True": show the definitions-updated notice
inline constexpr char RESTART[] = "RESTART";
inline constexpr char STATUS[] = "STATUS";    // "RUNNING" or "STOPPED"

// Settings (per user; FirstTime and showHelp also machine-wide).
inline constexpr char Language[] = "Language";
inline constexpr char showHelp[] = "showHelp";
inline constexpr char Minimized[] = "Minimized";
inline constexpr char lastScan[] = "lblLastScan";
inline constexpr char lastCompleteScan[] = "lblLastFullScan";
inline constexpr char removedTotal[] = "lblDefRemoved";
inline constexpr char ranOneTime[] = "ranOneTime";
inline constexpr char autoDelete[] = "chkAutoDel";
inline constexpr char Max[] = "Max";
inline constexpr char IgnorePermissionDeniedError[] = "IgnorePermissionDeniedError";
inline constexpr char FirstTime[] = "FirstTime";

}  // namespace vedozer::skey
