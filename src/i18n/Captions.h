#pragma once
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/Languages.h"

namespace vedozer {

// The windows and pages a caption belongs to. Every page of the main window shares the main
// window's name in its keys; the grouping only tells a presenter which captions are its own.
enum class CaptionGroup {
    MainWindow,
    StatusPage,
    ScanPage,
    ResultsPage,
    OptionsPage,
    Undeletable,
    LiveUpdate,
    Report,
    Quarantine,
    Submit,
    About,
    Help,
    Splash,
    Language,
    TargetChooser,  // the rescue desktop's start window: which offline installation to open
};

// Every caption, column header, tab, menu item and tooltip of the desktop windows. A view maps
// each id it shows onto one of its controls; the text always comes from captionText().
enum class CaptionId {
    // Main window: navigation, menus and the header band.
    NavStatus, NavScan, NavResults, NavOptions, NavLiveUpdate, NavReport, NavQuarantine,
    MenuViewQuarantine, MenuViewExclusions, MenuQuarantineWindow,
    NavSubmit, NavHelp, NavAbout, NavLanguage, SendToTray, Exit, Website, Welcome,
    HeaderDefinitions, HeaderShields, HeaderDefinitionsValue, HeaderLastScan,
    MemoryShieldOn, MemoryShieldOff, HomePageShieldOn, HomePageShieldOff, ShieldsNotHere,
    StateOk, StateAttention, StateThreats, StateDefinitionsMissing,
    StateIconTooltip, RunAtStartupDenied,
    // Status page.
    StatusFrame, DefinitionCountTitle, VersionTitle, DefinitionDateTitle, RemovedTotalTitle,
    LastScanTitle, LastCompleteScanTitle, StatusLiveUpdate, StatusScanNow, StatusShowReport,
    // Scan page.
    ScanFrame, ScanStart, ScanStartTooltip, ScanPause, ScanStop, ScanContinue,
    MemoryInspectedTitle, RegistryInspectedTitle, FilesInspectedTitle, SoftwareFoundTitle,
    TracesFoundTitle, RunningProgramsTitle,
    CompleteScanMode, QuickScanMode, DriveColumn, FoundColumn,
    // Results page.
    ResultsFrame, ResultsNameColumn, ResultsLocationColumn, ResultsTypeColumn,
    SelectAll, DeleteChecked, DeleteTooltip, ExcludeChecked,
    SummaryThreat, SummaryThreats, SummaryTrace, SummaryTraces, NoThreatsFound, NoScanYet,
    OutcomeItemColumn, OutcomeColumn, OutcomeReasonColumn,
    OutcomeRemoved, OutcomeNotRemoved, OutcomeSkipped, OutcomeExcluded, OutcomeNotExcluded,
    // Options page.
    OptionsFrame, OptionsTabScanning, OptionsTabProtection, OptionsTabSchedule, OptionsTabGeneral,
    ScanOptionsFrame, MemoryShieldFrame, HomePageShieldFrame, ScheduleFrame,
    WriteReportOption, ScanMemoryOption, ScanRegistryOption, ScanCookiesOption, SendDataOption,
    RunAtStartupOption, AutomaticUpdateOption, ScheduledScanOption, AutoDeleteOption,
    MemoryShieldOnOption, MemoryShieldOffOption, MemoryShieldCheck,
    HomePageShieldOnOption, HomePageShieldOffOption, HomePageShieldCheck,
    HomePageAskOption, HomePageSilentOption, ProtectionNotHere,
    // The undeletable list.
    UndeletableTitle, UndeletableText1, UndeletableText2, UndeletableColumn, UndeletableOk,
    UndeletableCopyList,
    // Live Update window.
    LiveUpdateTitle, LiveUpdateStatusCaption, LiveUpdateCancel, LiveUpdateTrayTip,
    // Report viewer.
    ReportTitle, ReportOk,
    // Quarantine window.
    QuarantineTitle, QuarantineTimeColumn, QuarantineKindColumn, QuarantineLocationColumn,
    QuarantineSpywareColumn, QuarantineStateColumn, QuarantineRestore, QuarantineReplace,
    QuarantineOpenFolder, QuarantineOpenLog, QuarantineViewExclusions,
    RestorePointNameColumn, RestorePointMadeColumn, RestorePointHoldsColumn, RestorePointRestore,
    RestorePointsBySystem, ConfirmRestorePoint, QuarantineClose,
    QuarantineStateHeld, QuarantineStateRestored, QuarantineStateWithdrawn,
    // Submission box.
    SubmitTitle, SubmitFileLabel, SubmitButton, SubmitClose,
    // About and help.
    AboutTitle, AboutVersion, AboutOk, HelpTitle, HelpText, HelpOk,
    // Splash.
    SplashLoading,
    // The language window (its title is the message MSG_TITLELANGUAGE).
    LanguagePrompt, LanguageCheckUpdates, LanguageTranslate, LanguageOk,
    // The start window of the rescue desktop, and what it says elsewhere about write access.
    TargetTitle, TargetIntro, TargetMountedLabel, TargetNoneMounted, TargetReadOnly, TargetRecentLabel,
    TargetFolderLabel, TargetBrowse, TargetDrivesLabel, TargetDriveLetterColumn, TargetDriveFolderColumn,
    TargetAddDrive, TargetRemoveDrive, TargetUserLabel, TargetNoProfile, TargetUseSuggestion, TargetOpen,
    TargetQuit, TargetBadDriveLetter, TargetRemovalNeedsRights, TargetRunsAsRoot,
};

struct CaptionEntry {
    CaptionId id;
    CaptionGroup group;
    const char* key;      // as Localization.txt carries it: window + "_" + control (+ "_TABS"/"_COL" + i, or an index)
    const char* english;  // the built-in text; may hold the placeholders of the message catalogue
};

// The whole table, in CaptionId order.
std::span<const CaptionEntry> captionTable();
const CaptionEntry& captionEntry(CaptionId id);
std::vector<CaptionId> captionsOf(CaptionGroup group);

// The caption in the current language: the loaded translation of its key when there is one,
// else the English text, placeholders substituted either way.
std::string captionText(const Languages& languages, CaptionId id);

// Every caption as a localization item (key, English text), in table order.
std::vector<std::pair<std::string, std::string>> captionItems();

}  // namespace vedozer
