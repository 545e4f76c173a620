#include "i18n/Captions.h"

#include <array>

namespace vedozer {

namespace {

using C = CaptionId;
using G = CaptionGroup;

// Keys follow the localization file: window name + "_" + control name; tabs add "_TABS" + i,
// list columns "_COL" + i, option buttons and menu items their index. Lookups ignore case.
constexpr std::array kTable{
    CaptionEntry{C::NavStatus, G::MainWindow, "FrmMain_cmdStatus", "&Status"},
    CaptionEntry{C::NavScan, G::MainWindow, "FrmMain_cmdScan", "S&can"},
    CaptionEntry{C::NavResults, G::MainWindow, "FrmMain_cmdResults", "&Results"},
    CaptionEntry{C::NavOptions, G::MainWindow, "FrmMain_cmdSettings", "&Options"},
    CaptionEntry{C::NavLiveUpdate, G::MainWindow, "FrmMain_cmdUpdate", "&Live Update"},
    CaptionEntry{C::NavReport, G::MainWindow, "FrmMain_cmdLog", "View Lo&g"},
    CaptionEntry{C::NavQuarantine, G::MainWindow, "FrmMain_mnuQuar0", "&Quarantine"},
    CaptionEntry{C::MenuViewQuarantine, G::MainWindow, "FrmMain_mnuQuarItem0", "View Quarantine"},
    CaptionEntry{C::MenuViewExclusions, G::MainWindow, "FrmMain_mnuQuarItem1", "View Exclusions"},
    CaptionEntry{C::MenuQuarantineWindow, G::MainWindow, "FrmMain_mnuQuarItem2", "Quarantined Items and Restore Points..."},
    CaptionEntry{C::NavSubmit, G::MainWindow, "FrmMain_cmdSubmitFile", "Submit a &File..."},
    CaptionEntry{C::NavHelp, G::MainWindow, "FrmMain_cmdHelp", "&Help"},
    CaptionEntry{C::NavAbout, G::MainWindow, "FrmMain_cmdAbout", "&About"},
    CaptionEntry{C::NavLanguage, G::MainWindow, "FrmMain_cmdLanguage", "La&nguage..."},
    CaptionEntry{C::SendToTray, G::MainWindow, "FrmMain_Command5", "Send to &Tray"},
    CaptionEntry{C::Exit, G::MainWindow, "FrmMain_lblExit", "E&xit"},
    CaptionEntry{C::Website, G::MainWindow, "FrmMain_cmdWebsite", "Visit [Website]"},
    CaptionEntry{C::Welcome, G::MainWindow, "FrmMain_Label22", "Welcome to [ProgramName]"},
    CaptionEntry{C::HeaderDefinitions, G::MainWindow, "FrmMain_lblHeaderDefinitions", "Definitions:"},
    CaptionEntry{C::HeaderShields, G::MainWindow, "FrmMain_lblHeaderShields", "Shields:"},
    CaptionEntry{C::HeaderDefinitionsValue, G::MainWindow, "FrmMain_lblHeaderDefinitionsValue", "[Count] definitions, dated [Date]"},
    CaptionEntry{C::HeaderLastScan, G::MainWindow, "FrmMain_lblHeaderLastScan", "Last scan:"},
    CaptionEntry{C::MemoryShieldOn, G::MainWindow, "FrmMain_lblMemoryShieldOn", "Memory shield on"},
    CaptionEntry{C::MemoryShieldOff, G::MainWindow, "FrmMain_lblMemoryShieldOff", "Memory shield off"},
    CaptionEntry{C::HomePageShieldOn, G::MainWindow, "FrmMain_lblHomePageShieldOn", "Home page shield on"},
    CaptionEntry{C::HomePageShieldOff, G::MainWindow, "FrmMain_lblHomePageShieldOff", "Home page shield off"},
    CaptionEntry{C::ShieldsNotHere, G::MainWindow, "FrmMain_lblShieldsNotHere", "Not available for an offline system"},
    CaptionEntry{C::StateOk, G::MainWindow, "FrmMain_lblStateOk", "Protected"},
    CaptionEntry{C::StateAttention, G::MainWindow, "FrmMain_lblStateAttention", "Needs attention"},
    CaptionEntry{C::StateThreats, G::MainWindow, "FrmMain_lblStateThreats", "Threats found"},
    CaptionEntry{C::StateDefinitionsMissing, G::MainWindow, "FrmMain_lblStateMissing", "Definitions missing, run Live Update"},
    CaptionEntry{C::StateIconTooltip, G::MainWindow, "FrmMain_imgState_TOOLTIP", "Protection at a glance"},
    CaptionEntry{C::RunAtStartupDenied, G::MainWindow, "FrmMain_lblRunAtStartupDenied",
                 "[ProgramName] could not change the list of programs that start with Windows. This needs "
                 "administrator rights: start [ProgramName] as an administrator and change the option again."},

    CaptionEntry{C::StatusFrame, G::StatusPage, "FrmMain_frmStatus", "[ProgramName] Status"},
    CaptionEntry{C::DefinitionCountTitle, G::StatusPage, "FrmMain_lblDefCountTitle", "Number of definitions:"},
    CaptionEntry{C::VersionTitle, G::StatusPage, "FrmMain_lblVersionTitle", "Program version:"},
    CaptionEntry{C::DefinitionDateTitle, G::StatusPage, "FrmMain_lblDefVersionTitle", "Definitions dated:"},
    CaptionEntry{C::RemovedTotalTitle, G::StatusPage, "FrmMain_lblDefRemovedTitle", "Items removed so far:"},
    CaptionEntry{C::LastScanTitle, G::StatusPage, "FrmMain_lblLastScanTitle", "Last scan:"},
    CaptionEntry{C::LastCompleteScanTitle, G::StatusPage, "FrmMain_lblLastFullScanTitle", "Last complete scan:"},
    CaptionEntry{C::StatusLiveUpdate, G::StatusPage, "FrmMain_cmdLiveUpdate", "Run Live Update Now"},
    CaptionEntry{C::StatusScanNow, G::StatusPage, "FrmMain_lblStart", "Scan Now"},
    CaptionEntry{C::StatusShowReport, G::StatusPage, "FrmMain_lblViewLogFile", "Show Report"},

    CaptionEntry{C::ScanFrame, G::ScanPage, "FrmMain_frmScan", "Scan"},
    CaptionEntry{C::ScanStart, G::ScanPage, "FrmMain_cmdScanNow", "&Start"},
    CaptionEntry{C::ScanStartTooltip, G::ScanPage, "FrmMain_cmdScanNow_TOOLTIP", "Scan this computer for adware and spyware"},
    CaptionEntry{C::ScanPause, G::ScanPage, "FrmMain_cmdPause", "&Pause"},
    CaptionEntry{C::ScanStop, G::ScanPage, "FrmMain_cmdStop", "S&top"},
    CaptionEntry{C::ScanContinue, G::ScanPage, "FrmMain_cmdRemove", "Click Here to Continue"},
    CaptionEntry{C::MemoryInspectedTitle, G::ScanPage, "FrmMain_lblMemoryInspectedTitle", "Cookies and Processes Inspected"},
    CaptionEntry{C::RegistryInspectedTitle, G::ScanPage, "FrmMain_lblRegistryInspectedTitle", "Registry Entries Inspected"},
    CaptionEntry{C::FilesInspectedTitle, G::ScanPage, "FrmMain_lblFilesFolderInspectedTitle", "Files/Folders Inspected"},
    CaptionEntry{C::SoftwareFoundTitle, G::ScanPage, "FrmMain_lblSoftwareFoundTitle", "Spyware/Adware Found"},
    CaptionEntry{C::TracesFoundTitle, G::ScanPage, "FrmMain_lbltracesFoundTitle", "Traces Found"},
    CaptionEntry{C::RunningProgramsTitle, G::ScanPage, "FrmMain_lblTotalNoOfRunningItemsTitle", "Running Programs"},
    CaptionEntry{C::CompleteScanMode, G::ScanPage, "FrmMain_optScanAllSelectedHardDrive0", "Complete System Scan"},
    CaptionEntry{C::QuickScanMode, G::ScanPage, "FrmMain_optScanOnlyKnownSoftwares0", "Quick Scan"},
    CaptionEntry{C::DriveColumn, G::ScanPage, "FrmMain_lvwHardDrives_COL1", "Drive"},
    CaptionEntry{C::FoundColumn, G::ScanPage, "FrmMain_lvwSpywareFound_COL1", "Found"},

    CaptionEntry{C::ResultsFrame, G::ResultsPage, "FrmMain_frmResults", "Results"},
    CaptionEntry{C::ResultsNameColumn, G::ResultsPage, "FrmMain_lvwPicRemoveListOfSpywareFoundAndToBeRemoved_COL1", "Spyware/Adware Found"},
    CaptionEntry{C::ResultsLocationColumn, G::ResultsPage, "FrmMain_lvwPicRemoveListOfSpywareFoundAndToBeRemoved_COL2", "Location"},
    CaptionEntry{C::ResultsTypeColumn, G::ResultsPage, "FrmMain_lvwPicRemoveListOfSpywareFoundAndToBeRemoved_COL3", "Type"},
    CaptionEntry{C::SelectAll, G::ResultsPage, "FrmMain_cmdSelectAll", "Select &All"},
    CaptionEntry{C::DeleteChecked, G::ResultsPage, "FrmMain_Command4", "&Delete"},
    CaptionEntry{C::DeleteTooltip, G::ResultsPage, "FrmMain_Command4_TOOLTIP", "Remove the checked items; each is kept in the quarantine first"},
    CaptionEntry{C::ExcludeChecked, G::ResultsPage, "FrmMain_cmdExclude", "E&xclude"},
    CaptionEntry{C::SummaryThreat, G::ResultsPage, "FrmMain_lblSummaryThreat", "[Count] threat"},
    CaptionEntry{C::SummaryThreats, G::ResultsPage, "FrmMain_lblSummaryThreats", "[Count] threats"},
    CaptionEntry{C::SummaryTrace, G::ResultsPage, "FrmMain_lblSummaryTrace", "[Count] trace"},
    CaptionEntry{C::SummaryTraces, G::ResultsPage, "FrmMain_lblSummaryTraces", "[Count] traces"},
    CaptionEntry{C::NoThreatsFound, G::ResultsPage, "FrmMain_lblNoThreats", "No adware or spyware was found."},
    CaptionEntry{C::NoScanYet, G::ResultsPage, "FrmMain_lblNoScanYet", "No scan has run yet. Start one on the Scan page."},
    CaptionEntry{C::OutcomeItemColumn, G::ResultsPage, "FrmMain_lvwOutcomes_COL1", "Item"},
    CaptionEntry{C::OutcomeColumn, G::ResultsPage, "FrmMain_lvwOutcomes_COL2", "Outcome"},
    CaptionEntry{C::OutcomeReasonColumn, G::ResultsPage, "FrmMain_lvwOutcomes_COL3", "Reason"},
    CaptionEntry{C::OutcomeRemoved, G::ResultsPage, "FrmMain_lblOutcomeRemoved", "Removed"},
    CaptionEntry{C::OutcomeNotRemoved, G::ResultsPage, "FrmMain_lblOutcomeNotRemoved", "Not removed"},
    CaptionEntry{C::OutcomeSkipped, G::ResultsPage, "FrmMain_lblOutcomeSkipped", "Skipped"},
    CaptionEntry{C::OutcomeExcluded, G::ResultsPage, "FrmMain_lblOutcomeExcluded", "Excluded"},
    CaptionEntry{C::OutcomeNotExcluded, G::ResultsPage, "FrmMain_lblOutcomeNotExcluded", "Not excluded"},

    CaptionEntry{C::OptionsFrame, G::OptionsPage, "FrmMain_frmOptions", "Options"},
    CaptionEntry{C::OptionsTabScanning, G::OptionsPage, "FrmMain_TabStrip1_TABS1", "Scanning"},
    CaptionEntry{C::OptionsTabProtection, G::OptionsPage, "FrmMain_TabStrip1_TABS2", "Protection"},
    CaptionEntry{C::OptionsTabSchedule, G::OptionsPage, "FrmMain_TabStrip1_TABS3", "Schedule"},
    CaptionEntry{C::OptionsTabGeneral, G::OptionsPage, "FrmMain_TabStrip1_TABS4", "General"},
    CaptionEntry{C::ScanOptionsFrame, G::OptionsPage, "FrmMain_fraScanOptions", "What to scan"},
    CaptionEntry{C::MemoryShieldFrame, G::OptionsPage, "FrmMain_fraMemoryShield", "Memory Shield"},
    CaptionEntry{C::HomePageShieldFrame, G::OptionsPage, "FrmMain_fraHomePageShield", "Home Page Shield"},
    CaptionEntry{C::ScheduleFrame, G::OptionsPage, "FrmMain_fraSchedule", "Scheduled Scans"},
    CaptionEntry{C::WriteReportOption, G::OptionsPage, "FrmMain_chkMakeLog", "Save scan results to log"},
    CaptionEntry{C::ScanMemoryOption, G::OptionsPage, "FrmMain_chkSweepMemory", "Scan Proccesses and Files"},
    CaptionEntry{C::ScanRegistryOption, G::OptionsPage, "FrmMain_chkScanRegistry", "Scan Windows Registry"},
    CaptionEntry{C::ScanCookiesOption, G::OptionsPage, "FrmMain_chkScanCookies", "Scan Internet Cookies"},
    CaptionEntry{C::SendDataOption, G::OptionsPage, "FrmMain_chkSendData", "Send anonymous data to help identify unknown spyware"},
    CaptionEntry{C::RunAtStartupOption, G::OptionsPage, "FrmMain_chkRunAtStartup", "Run at Startup and protect my computer automatically"},
    CaptionEntry{C::AutomaticUpdateOption, G::OptionsPage, "FrmMain_chkAutomaticUpdate", "Enable automatic Live update (recommended)"},
    CaptionEntry{C::ScheduledScanOption, G::OptionsPage, "FrmMain_chkAutomaticScanYesOrNo", "Enable Scheduled Scans"},
    CaptionEntry{C::AutoDeleteOption, G::OptionsPage, "FrmMain_chkAutoDel", "Delete spyware automatically after scheduled scan"},
    CaptionEntry{C::MemoryShieldOnOption, G::OptionsPage, "FrmMain_optMemory" "SheildOn0", "Enabled"},
    CaptionEntry{C::MemoryShieldOffOption, G::OptionsPage, "FrmMain_optMemory" "SheildOff0", "Disabled"},
    CaptionEntry{C::MemoryShieldCheck, G::OptionsPage, "FrmMain_chkAutoProtect", "Enable"},
    CaptionEntry{C::HomePageShieldOnOption, G::OptionsPage, "FrmMain_optIEHomePage" "SheildOn0", "Enabled"},
    CaptionEntry{C::HomePageShieldOffOption, G::OptionsPage, "FrmMain_optIEHomePage" "SheildOff0", "Disabled"},
    CaptionEntry{C::HomePageShieldCheck, G::OptionsPage, "FrmMain_chkHomePage", "Enable"},
    CaptionEntry{C::HomePageAskOption, G::OptionsPage, "FrmMain_optAlwaysnotifybeforerestoring0", "Ask me what I would like to do"},
    CaptionEntry{C::HomePageSilentOption, G::OptionsPage, "FrmMain_optRestoredefaultwithoutnotification0", "Silently restore my original home page"},
    CaptionEntry{C::ProtectionNotHere, G::OptionsPage, "FrmMain_lblProtectionNotHere",
                 "Real-time protection (the shields and scheduled scans), running at start-up and the notification-area "
                 "icon belong to a running Windows system; they are not available for an offline system."},

    CaptionEntry{C::UndeletableTitle, G::Undeletable, "frmDelete_Caption", "Items Not Deleted"},
    CaptionEntry{C::UndeletableText1, G::Undeletable, "frmDelete_Label1",
                 "The following files could not be deleted.  You should save your work, close all running programs "
                 "(especially browsers) and try to delete them again."},
    CaptionEntry{C::UndeletableText2, G::Undeletable, "frmDelete_Label2",
                 "If you still cannot delete them, you should start your computer in Safe Mode and either scan again "
                 "or delete them manually."},
    CaptionEntry{C::UndeletableColumn, G::Undeletable, "frmDelete_lstProblem_COL1", "Location"},
    CaptionEntry{C::UndeletableOk, G::Undeletable, "frmDelete_Command1", "&Ok"},
    CaptionEntry{C::UndeletableCopyList, G::Undeletable, "frmDelete_Command2", "&Copy List"},

    CaptionEntry{C::LiveUpdateTitle, G::LiveUpdate, "frmDownload_Caption", "Live Update"},
    CaptionEntry{C::LiveUpdateStatusCaption, G::LiveUpdate, "frmDownload_lblStatus", "Getting the latest definitions"},
    CaptionEntry{C::LiveUpdateCancel, G::LiveUpdate, "frmDownload_Command1", "&Cancel"},
    CaptionEntry{C::LiveUpdateTrayTip, G::LiveUpdate, "frmDownload_TrayIcon_TOOLTIP", "Getting latest definitions."},

    CaptionEntry{C::ReportTitle, G::Report, "frmReport_Caption", "[ProgramName] Log"},
    CaptionEntry{C::ReportOk, G::Report, "frmReport_cmdOk", "&OK"},

    CaptionEntry{C::QuarantineTitle, G::Quarantine, "frmQuarantine_Caption", "Quarantine"},
    CaptionEntry{C::QuarantineTimeColumn, G::Quarantine, "frmQuarantine_lvwItems_COL1", "Removed"},
    CaptionEntry{C::QuarantineKindColumn, G::Quarantine, "frmQuarantine_lvwItems_COL2", "Kind"},
    CaptionEntry{C::QuarantineLocationColumn, G::Quarantine, "frmQuarantine_lvwItems_COL3", "Location"},
    CaptionEntry{C::QuarantineSpywareColumn, G::Quarantine, "frmQuarantine_lvwItems_COL4", "Spyware/Adware"},
    CaptionEntry{C::QuarantineStateColumn, G::Quarantine, "frmQuarantine_lvwItems_COL5", "State"},
    CaptionEntry{C::QuarantineRestore, G::Quarantine, "frmQuarantine_cmdRestore", "&Restore"},
    CaptionEntry{C::QuarantineReplace, G::Quarantine, "frmQuarantine_chkReplace", "Replace what is there now"},
    CaptionEntry{C::QuarantineOpenFolder, G::Quarantine, "frmQuarantine_cmdOpenFolder", "Open &Folder"},
    CaptionEntry{C::QuarantineOpenLog, G::Quarantine, "frmQuarantine_cmdOpenLog", "Open &Log"},
    CaptionEntry{C::QuarantineViewExclusions, G::Quarantine, "frmQuarantine_cmdViewExclusions", "View &Exclusions"},
    CaptionEntry{C::RestorePointNameColumn, G::Quarantine, "frmQuarantine_lvwRestorePoints_COL1", "Restore Point"},
    CaptionEntry{C::RestorePointMadeColumn, G::Quarantine, "frmQuarantine_lvwRestorePoints_COL2", "Made"},
    CaptionEntry{C::RestorePointHoldsColumn, G::Quarantine, "frmQuarantine_lvwRestorePoints_COL3", "Holds"},
    CaptionEntry{C::RestorePointRestore, G::Quarantine, "frmQuarantine_cmdRestorePoint", "Put Back Restore &Point"},
    CaptionEntry{C::RestorePointsBySystem, G::Quarantine, "frmQuarantine_lblSystemRestore",
                 "Restore points of this computer are kept by Windows System Restore: Start > Programs > "
                 "Accessories > System Tools > System Restore."},
    CaptionEntry{C::ConfirmRestorePoint, G::Quarantine, "frmQuarantine_lblConfirmRestorePoint",
                 "Put the registry back as it was at this restore point? Changes made to it since then are lost."},
    CaptionEntry{C::QuarantineClose, G::Quarantine, "frmQuarantine_cmdClose", "&Close"},
    CaptionEntry{C::QuarantineStateHeld, G::Quarantine, "frmQuarantine_lblStateHeld", "In quarantine"},
    CaptionEntry{C::QuarantineStateRestored, G::Quarantine, "frmQuarantine_lblStateRestored", "Restored"},
    CaptionEntry{C::QuarantineStateWithdrawn, G::Quarantine, "frmQuarantine_lblStateWithdrawn", "Not removed"},

    CaptionEntry{C::SubmitTitle, G::Submit, "frmSubmit_Caption", "Submit a File"},
    CaptionEntry{C::SubmitFileLabel, G::Submit, "frmSubmit_lblFilename", "Name of a file you think is spyware:"},
    CaptionEntry{C::SubmitButton, G::Submit, "frmSubmit_cmdSubmit", "&Submit"},
    CaptionEntry{C::SubmitClose, G::Submit, "frmSubmit_cmdClose", "&Close"},

    CaptionEntry{C::AboutTitle, G::About, "frmAbout_Caption", "About [ProgramName]"},
    CaptionEntry{C::AboutVersion, G::About, "frmAbout_lblVersionTitle", "Version"},
    CaptionEntry{C::AboutOk, G::About, "frmAbout_cmdOk", "&OK"},
    CaptionEntry{C::HelpTitle, G::Help, "frmHelp_Caption", "[ProgramName] Help"},
    CaptionEntry{C::HelpText, G::Help, "frmHelp_lblHelp",
                 "Scan: checks this computer against the definitions. Results: check the items to remove and press "
                 "Delete; every removed item is kept in the quarantine, from where it can be restored. Exclude "
                 "keeps an item out of later scans. Options: what to scan and how [ProgramName] protects this "
                 "computer. Live Update: fetches the newest definitions."},
    CaptionEntry{C::HelpOk, G::Help, "frmHelp_cmdOk", "&OK"},

    CaptionEntry{C::SplashLoading, G::Splash, "frmSplash_lblLoading", "Loading..."},

    CaptionEntry{C::LanguagePrompt, G::Language, "frmLanguage_lblLanguage", "Choose Language Here"},
    CaptionEntry{C::LanguageCheckUpdates, G::Language, "frmLanguage_cmdUpdate", "&Check for language updates"},
    CaptionEntry{C::LanguageTranslate, G::Language, "frmLanguage_cmdTranslate", "&Translate this program"},
    CaptionEntry{C::LanguageOk, G::Language, "frmLanguage_cmdOK", "&OK"},

    CaptionEntry{C::TargetTitle, G::TargetChooser, "frmTarget_Caption", "[ProgramName]: Choose a Windows System"},
    CaptionEntry{C::TargetIntro, G::TargetChooser, "frmTarget_lblIntro",
                 "Choose the Windows installation to scan and clean: a mounted Windows disk, or any folder laid "
                 "out like one."},
    CaptionEntry{C::TargetMountedLabel, G::TargetChooser, "frmTarget_lblMounted", "&Windows systems mounted on this computer:"},
    CaptionEntry{C::TargetNoneMounted, G::TargetChooser, "frmTarget_lblNoneMounted",
                 "No mounted Windows system was found. Mount the Windows disk, or choose its folder below."},
    CaptionEntry{C::TargetReadOnly, G::TargetChooser, "frmTarget_lblReadOnly", "Read-only"},
    CaptionEntry{C::TargetRecentLabel, G::TargetChooser, "frmTarget_lblRecent", "Recently &opened:"},
    CaptionEntry{C::TargetFolderLabel, G::TargetChooser, "frmTarget_lblFolder", "Drive &C: (the folder that holds Windows):"},
    CaptionEntry{C::TargetBrowse, G::TargetChooser, "frmTarget_cmdBrowse", "&Browse..."},
    CaptionEntry{C::TargetDrivesLabel, G::TargetChooser, "frmTarget_lblDrives", "More &drives of this system:"},
    CaptionEntry{C::TargetDriveLetterColumn, G::TargetChooser, "frmTarget_lvwDrives_COL1", "Drive"},
    CaptionEntry{C::TargetDriveFolderColumn, G::TargetChooser, "frmTarget_lvwDrives_COL2", "Folder"},
    CaptionEntry{C::TargetAddDrive, G::TargetChooser, "frmTarget_cmdAddDrive", "&Add Drive..."},
    CaptionEntry{C::TargetRemoveDrive, G::TargetChooser, "frmTarget_cmdRemoveDrive", "Re&move Drive"},
    CaptionEntry{C::TargetUserLabel, G::TargetChooser, "frmTarget_lblUser", "&User profile:"},
    CaptionEntry{C::TargetNoProfile, G::TargetChooser, "frmTarget_lblNoProfile", "(no user profile found)"},
    CaptionEntry{C::TargetUseSuggestion, G::TargetChooser, "frmTarget_cmdUseSuggestion", "Use &This Folder"},
    CaptionEntry{C::TargetOpen, G::TargetChooser, "frmTarget_cmdOpen", "&Open"},
    CaptionEntry{C::TargetQuit, G::TargetChooser, "frmTarget_cmdQuit", "&Quit"},
    CaptionEntry{C::TargetBadDriveLetter, G::TargetChooser, "frmTarget_lblBadDriveLetter",
                 "A drive letter is one letter from D to Z, each used once."},
    CaptionEntry{C::TargetRemovalNeedsRights, G::TargetChooser, "frmTarget_lblRemovalNeedsRights",
                 "Scanning works, but removing items needs write access to this system. Mount it read-write, or "
                 "start [ProgramName] as root (sudo -E) when you want to clean it."},
    CaptionEntry{C::TargetRunsAsRoot, G::TargetChooser, "frmTarget_lblRunsAsRoot",
                 "[ProgramName] runs as root. Scanning needs no root rights: only cleaning a system this user "
                 "cannot write does."},
};

constexpr bool tableInIdOrder() {
    for (size_t i = 0; i < kTable.size(); ++i)
        if (static_cast<size_t>(kTable[i].id) != i) return false;
    return static_cast<size_t>(C::TargetRunsAsRoot) + 1 == kTable.size();
}
static_assert(tableInIdOrder(), "the caption table lists every CaptionId once, in order");

}  // namespace

std::span<const CaptionEntry> captionTable() { return kTable; }

const CaptionEntry& captionEntry(CaptionId id) { return kTable[static_cast<size_t>(id)]; }

std::vector<CaptionId> captionsOf(CaptionGroup group) {
    std::vector<CaptionId> out;
    for (const CaptionEntry& e : kTable)
        if (e.group == group) out.push_back(e.id);
    return out;
}

std::string captionText(const Languages& languages, CaptionId id) {
    const CaptionEntry& e = captionEntry(id);
    std::string translated = languages.translationLookup(e.key);
    if (!translated.empty()) return translated;
    return substitutePlaceholders(e.english, languages.identity());
}

std::vector<std::pair<std::string, std::string>> captionItems() {
    std::vector<std::pair<std::string, std::string>> out;
    for (const CaptionEntry& e : kTable) out.emplace_back(e.key, e.english);
    return out;
}

}  // namespace vedozer
