#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/RunAtStartup.h"
#include "core/Host.h"
#include "core/Outcome.h"
#include "definitions/DefinitionFiles.h"
#include "definitions/ExclusionList.h"
#include "definitions/SafeList.h"
#include "i18n/LanguageSelection.h"
#include "i18n/Languages.h"
#include "i18n/ProductIdentity.h"
#include "platform/Platform.h"
#include "protection/Protection.h"
#include "removal/Exclusion.h"
#include "removal/Quarantine.h"
#include "removal/QuarantineRestore.h"
#include "removal/Removal.h"
#include "scan/ScanCounters.h"
#include "scan/ScanMonitor.h"
#include "scan/ScanResults.h"
#include "scan/ScanRun.h"
#include "scan/ThreatSummary.h"
#include "settings/Settings.h"
#include "settings/SettingsOverlay.h"
#include "submit/Submission.h"
#include "update/LanguageDownload.h"
#include "update/LiveUpdate.h"

namespace vedozer {

// What the status page shows.
struct StatusSummary {
    std::string definitionCount;   // the total with digit grouping ("1,514")
    std::string version;           // "major.minor"
    std::string definitionDate;    // the definitions' date + " PST", or the missing-files text
    std::string removedTotal;      // items removed so far
    std::string lastScan;          // "Never" until the first scan
    std::string lastCompleteScan;
    DefinitionSet definitions;     // the counts per file
    bool definitionsMissing = false;
    bool sendsAnonymousData = true;  // names of running programs go out after each removal
};

// What the person said about anonymous data: nothing yet (the store has no answer), yes or no.
enum class AnonymousDataChoice { NotAsked, On, Off };

enum class ScanMode { Quick, Complete };

// What to do with everything a finished (not stopped) scan found.
enum class AfterScan { Nothing, RemoveEverything, ExcludeEverything };

// How to scan. Unset switches follow the saved options.
struct ScanRequest {
    std::optional<ScanMode> mode;   // saved as the scan mode from now on
    std::optional<bool> cookies;    // the stage switches hold for this scan only
    std::optional<bool> memory;
    std::optional<bool> registry;
    std::optional<bool> writeReport;
    // Anonymous data after a removal of this run: false sends nothing whatever is stored.
    std::optional<bool> sendAnonymousData;
    AfterScan then = AfterScan::Nothing;
    bool askFirst = true;           // false: a scheduled scan removes without any question
};

// A scan and what followed it.
struct ScanOutcome {
    ScanRunState run;
    std::vector<ThreatRecord> found;           // the removal list as the scan left it
    // Every threat the scan found with its traces, numbered as listed (1 = the first); after a
    // removal each trace it handled carries its outcome.
    std::vector<ThreatSummary> threats;
    std::optional<RemovalResult> removal;      // when everything found was to be removed
    std::optional<ExclusionResult> exclusion;  // when everything found was to be excluded
};

struct StartupOptions {
    // The command line may run beside the desktop program; only what changes files takes the lock.
    bool takeInstanceLock = false;
    bool recordStatus = true;  // STATUS = "RUNNING", RESTART = "False"
};

// A language for one run instead of the saved one (the command line's); nothing is saved.
struct RunLanguage {
    std::string name;    // asked for by name (--language); wins over the locale
    std::string locale;  // the environment's ("de_DE.UTF-8"): a group of the file tagged for it
};

enum class SettingScope { User, Machine };

struct SettingEntry {
    std::string section, key, value;
    bool stored = false;  // false: not in the store, value is the default
    std::string meaning;
    std::string name;          // readable name ("scan-cookies")
    std::string defaultValue;
    bool readOnly = false;     // kept by the program
};

// What an exclusion by reference to the last scan added: each entry, and what it stands for.
struct FoundExclusion {
    ExclusionResult result;
    std::vector<std::string> explanations;  // one per entry: "location of item 2 (AdBuddy Toolbar)" ...
};


// The one facade of the engine: process-wide state a front end renders and every operation a
// person can ask for, each one call. Owns no platform service; borrows them from the backend.
// Every operation that changes files returns an outcome per item.
class Session {
public:
    Session(Platform& platform, Host& host, ProductIdentity identity = ProductIdentity::fromBuild());
    ~Session();

    // Start-up up to the point where a front end shows itself: data folder, language, an
    // interrupted update finished or undone, staged definitions installed, definitions counted,
    // exclusions loaded. False when another instance holds the lock (when asked to take it).
    bool startUp(const StartupOptions& options = {});
    // What start-up could not do (told to the host as notices too).
    const std::vector<std::string>& startupProblems() const { return m_startupProblems; }
    void shutDown();

    // Scanning. The stop flag is tested before each item; a front end sets it from its yield.
    ScanOutcome scan(const ScanRequest& request = {});
    void requestStop() { m_stopFlag = true; }
    bool stopRequested() const { return m_stopFlag; }
    // Asks whether to stop (the shorter question when asked from a small control); Yes stops.
    bool askToStop(bool shortQuestion = false);
    // Holds the running scan while the question is open.
    void pause();
    const ScanRunState& lastScan() const { return m_lastScan; }
    const ScanProgress& scanStatus() const { return m_monitor.status(); }
    const ScanResults& results() const { return m_results; }
    const ScanCounters& counters() const { return m_counters; }

    // The check marks of the removal list (rows as results().removalList() has them).
    void select(size_t row, bool checked = true);
    void deselect(size_t row) { select(row, false); }
    void selectAll();
    void deselectAll();

    // Removes the checked items (asking first); an outcome per item. What could not be removed
    // stays in the results and in undeletable().
    RemovalResult removeChecked();
    bool removalRunning() const { return m_removal && m_removal->running(); }
    const std::vector<std::string>& undeletable();
    // Puts the checked items on the exclusion list (asking first), or items named by the person.
    ExclusionResult excludeChecked();
    ExclusionResult excludeItems(const std::vector<std::string>& items);
    // The threats the last scan found (kept in the data folder); nullopt when no scan was kept.
    std::optional<std::vector<ThreatSummary>> lastScanFindings();
    // Excludes what the last scan found, named by its number in the list (its location and its
    // name), by one of its locations, or by its spyware name (every detection of that name is held
    // back from then on). Not done, with the reason, when it matches nothing found.
    FoundExclusion excludeFound(const std::string& item);

    // The exclusion list: its entries (nullopt when the file cannot be read), taking one off.
    std::optional<std::vector<std::string>> exclusions();
    Outcome removeExclusion(const std::string& entry);
    std::string exclusionListPath();  // as the person's system names it
    Outcome openExclusionList();

    // The quarantine and the restore points made before removals.
    std::vector<QuarantineEntry> quarantineItems();
    std::vector<QuarantineRestoreResult> restoreQuarantined(const std::vector<uint64_t>& ids, bool force);
    std::vector<QuarantineRestoreResult> restoreAllQuarantined(bool force);
    std::string quarantineFolderPath();
    Outcome openQuarantineFolder();
    // Opens QuarantineLog.txt with the desktop; skipped when nothing was quarantined yet.
    Outcome openQuarantineLog();
    bool restorePointsKeptHere();  // false where the system's own tool keeps them
    std::vector<RestorePointInfo> restorePoints();
    // The front end asks first. Where the program keeps the restore points, the hives as they are
    // now go into a new one first (restorePointKeptAside() names it).
    Outcome restoreRestorePoint(const std::string& name);
    const std::string& restorePointKeptAside() const { return m_restorePointKeptAside; }
    // The system removals record and restores check against: drives, SOFTWARE hive, installation.
    TargetIdentity targetIdentity();

    // Live Update and submissions; the server is the setting or the build's default unless given.
    // The protection timers stop while Live Update runs.
    LiveUpdateReport liveUpdate(const std::string& server = "");
    // On the very first start (the machine-wide first-run marker is unset; it is set now): asks
    // whether to run Live Update now. True when the person said Yes (the front end then runs it).
    bool offerFirstUpdate();
    SubmitResult submit(const std::string& fileName, const std::string& server = "");
    // The names of the running programs, when the person allows it (chkSendData). True when sent.
    bool sendAnonymousData();
    std::string definitionServer(const std::string& server = "");

    // Settings: read (nullopt when not stored), write, and every known one with its value.
    std::optional<std::string> setting(const std::string& section, const std::string& key,
                                       SettingScope scope = SettingScope::User);
    Outcome setSetting(const std::string& section, const std::string& key, const std::string& value,
                       SettingScope scope = SettingScope::User);
    std::vector<SettingEntry> listSettings();
    // Anonymous data on or off; off asks first. Whether it is on afterwards.
    bool setSendAnonymousData(bool on);
    AnonymousDataChoice anonymousDataChoice();
    // Asks whether anonymous data may be sent and keeps the answer. True when it may.
    bool askAnonymousData();
    // What anonymous data would carry now: the names of the programs running from the scanned
    // system (the host's own never), before the never-sent ones are left out.
    std::vector<std::string> anonymousDataPreview();
    // Where it goes.
    std::string anonymousDataAddress();
    // Settings by readable name or stored key: nullopt when there is no such setting.
    std::optional<SettingEntry> settingNamed(const std::string& nameOrKey);
    // Checks name and value first; not done, with the reason, when either is wrong.
    Outcome setSettingNamed(const std::string& nameOrKey, const std::string& value);

    // The report of the last scan as written (nullopt when there is none) and where it lives.
    std::optional<std::string> lastReport();
    std::string reportPath();

    // Status and definitions.
    StatusSummary statusSummary();
    // The five definition files that are absent, without touching any.
    std::vector<std::string> missingDefinitionFiles();
    // Installs the definitions shipped with the program (replacing installed ones only when forced).
    Outcome installShippedDefinitions(bool force);
    void reloadDefinitions();  // counts them again, as after Live Update

    // Real-time protection: the protection timers (off around scans, removals and Live Update,
    // back on from the options) and the shields, the scheduler and the automatic update they run.
    Protection& protection() { return *m_protection; }
    BackgroundTimers& timers() { return m_protection->timers(); }
    void setBackgroundTimers(bool on) { m_protection->timers().set(on); }
    bool scanRunning() const { return m_scanning; }

    // Run at start-up: saves the option ("0"/"1") and adds or takes away the program's value in
    // the machine's Run key. When the registry refuses, the option is saved back as it was and
    // the outcome says why.
    Outcome setRunAtStartup(bool on, const ProgramLocation& program);

    // Languages: Localization.txt in the program's folder, loaded at start-up (the saved language
    // unless a run language was set before) into the catalogue every caption and message comes from.
    void setRunLanguage(RunLanguage language) { m_runLanguage = std::move(language); }
    std::string localizationFilePath();  // "" when the platform names no program folder
    std::vector<std::string> availableLanguages();
    const LanguageState& language() const { return m_language; }
    // Whether a language had been saved when this session started (the very first start has none).
    bool languageWasChosen() const { return m_languageWasChosen; }
    // Loads the language into the catalogue and saves it as the chosen one. When it cannot be
    // shown the catalogue holds the built-in English, the state says why and nothing is saved.
    LanguageState chooseLanguage(const std::string& name);
    // What to tell the person about a language that could not be shown ("" when it was).
    std::string languageProblemText(const LanguageState& state);
    // "Check for language updates": the server's language file replaces ours when it is usable
    // whole; the current language is then loaded again from it.
    LanguageDownloadResult updateLanguageFile(const std::string& server = "");
    // Writes the English file from the built-in texts (at localizationFilePath() when path is "").
    Outcome writeEnglishLocalizationFile(const std::string& path = "");
    // "Translate this program": opens the file with the desktop's handler; where there is none
    // yet, the English file is written first.
    Outcome openLocalizationFile();
    // A language file held against the program's texts: problems and missing keys per language.
    LocalizationReport checkLocalizationFile(const std::string& path = "");

    // For front ends and tests.
    Platform& platform() { return m_platform; }
    Host& host() { return *m_host; }
    void setHost(Host& host);
    const ProductIdentity& identity() const { return m_identity; }
    const Languages& languages() const { return m_languages; }
    Languages& languages() { return m_languages; }  // a language is loaded into it, then applied
    std::string message(const std::string& key) const { return m_languages.getMessages(key); }
    Settings& settings() { return m_settings; }
    const std::string& dataFolder() const { return m_definitions.dataFolder; }
    const DefinitionSet& definitions() const { return m_definitions; }
    FileSystem& files() { return *m_platform.files; }
    FileSystem& dataFiles() { return *m_platform.dataFiles; }
    // The removal machinery over the current results (made on first use).
    Removal& removal();
    void setRemovalHooks(RemovalHooks* hooks);

private:
    ExclusionContext exclusionContext();
    void applyScanRequest(const ScanRequest& request);
    void loadStartLanguage();
    std::optional<ParsedLocalization> readLocalization();
    void keepFindings(const std::vector<ThreatSummary>& threats);

    Platform& m_platform;
    Host* m_host;
    ProductIdentity m_identity;
    Languages m_languages;
    SettingsOverlay m_overlay;
    Settings m_settings;
    DefinitionSet m_definitions;
    ExclusionList m_exclusions;
    SafeList m_safeList;
    ScanResults m_results;
    ScanCounters m_counters;
    ScanMonitor m_monitor;
    ScanRunState m_lastScan;
    bool m_stopFlag = false;
    std::unique_ptr<Removal> m_removal;
    std::unique_ptr<RemovalHooks> m_defaultRemovalHooks;  // anonymous data after a removal
    RemovalHooks* m_removalHooks = nullptr;
    std::vector<std::string> m_startupProblems;
    LanguageState m_language;
    RunLanguage m_runLanguage;
    bool m_languageWasChosen = false;
    // The memory shield's checks count and report apart from the scan page.
    ScanCounters m_shieldCounters;
    ScanMonitor m_shieldMonitor;
    bool m_shieldStopFlag = false;
    std::unique_ptr<Protection> m_protection;
    bool m_scanning = false;
    bool m_started = false;
    bool m_recordsStatus = false;
    std::string m_restorePointKeptAside;
};

}  // namespace vedozer
