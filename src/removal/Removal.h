#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "app/Host.h"
#include "i18n/clsLanguages.h"
#include "platform/Platform.h"
#include "removal/Quarantine.h"
#include "removal/RestorePoint.h"
#include "scan/ScanCounters.h"
#include "scan/ScanResults.h"
#include "settings/Settings.h"

namespace vedozer {

// What the session does around a removal run. Every hook does nothing by default.
class RemovalHooks {
public:
    virtual ~RemovalHooks() = default;
    virtual void showResultsPage() {}  // ShowPage on the results page
    // lblSweepNow, lblOptions, lblResult and lblExit enabled; lblRemove as given.
    virtual void setRemoveEnabled(bool enabled) { (void)enabled; }
    virtual void SetBackgroundTimers(bool on) { (void)on; }
    virtual void sendAnonymousData() {}
    virtual void RefreshStatusPage() {}
    virtual void showProblemWindow() {}  // frmDelete shown and brought to the front
};

// The removal widgets: the bar pgbDeleteSpywaresFound, the percentage label
// lblDeletingPercentageCompleted and the item label lblDeletingCaption.
struct RemovalProgress {
    bool visible = false;
    int value = 0;
    int max = 0;
    std::string percentLabel;
    std::string itemLabel;
};

// The removal of checked detections: the delete command, the run with its two passes over the
// hidden work lists, the per-item operations, the survivors list and the removed total.
//
// Unlike a plain delete, nothing is removed without a backup: a file or folder is copied whole
// into the quarantine (and a registry value or key saved there) before it is deleted; when that
// copy fails the item stays where it is and is reported. A record goes to the quarantine log only
// for what was really removed.
class Removal {
public:
    Removal(Platform& platform, Host& host, clsLanguages& messages, Settings& settings, ScanResults& results,
            ScanCounters& counters, std::string programName, std::string dataFolder, RemovalHooks* hooks = nullptr);

    void setHost(Host& host) { m_host = &host; }
    void setHooks(RemovalHooks* hooks);

    // True while a scheduled scan with automatic deletion runs: no questions, no message boxes.
    bool UnattendedRemoval = false;
    // True during the first pass of a run; only then are log records written.
    bool bFirstRemovalPass = false;
    // The "Gathering information..." pause before a run.
    uint32_t gatheringPauseMillis = 250;

    enum class DeleteOutcome { NothingSelected, NothingToDelete, Declined, Removed };
    // The "Delete" command: checks, the confirmation (unless unattended), then the run.
    DeleteOutcome Command4_Click();
    // The confirmation text of the delete command.
    std::string confirmationPrompt();
    // The removal run (also the "Remove" label).
    void lblRemove_Click();
    // One pass over the checked rows of the three work lists.
    void RemoveCheckedItems();
    // After a scheduled scan with automatic deletion: results page, select all, delete.
    DeleteOutcome removeEverythingUnattended();

    // Per-item operations. The spyware name only labels the quarantine entry.
    // With fullPath, only a process whose main module is that very file is stopped.
    bool StopProgramByName(const std::string& fileName, const std::string& fullPath = "");
    void RemoveExecutableFile(const std::string& path, const std::string& spywareName = "");
    bool QuarantineAndKill(const std::string& path, const std::string& fileName, const std::string& spywareName = "");
    void RemoveLibraryFile(const std::string& path, const std::string& spywareName = "");
    // Unregisters (or registers) a library's COM server where the platform can; reports it otherwise.
    bool RegisterServer(const std::string& path, bool registerFlag);
    void RemoveFileOrFolder(const std::string& path, const std::string& spywareName = "");
    bool DeleteRegistryValue(RootKey root, const std::string& key, const std::string& value,
                             const std::string& spywareName = "");
    bool DeleteRegistryKey(RootKey root, const std::string& key, const std::string& spywareName = "");
    void RemoveCookieFile(const std::string& path, const std::string& spywareName = "");

    // Quarantine log records, written only during the first pass.
    void LogQuarantinedFile(const std::string& path, const std::string& bareName);
    void LogQuarantinedRegistryEntry(const std::string& keyText, const std::string& valueText);

    // lstProblem of frmDelete: files still present after the second pass. Cleared by the delete command.
    const std::vector<std::string>& lstProblem() const { return m_problems; }
    void clearProblems() { m_problems.clear(); }
    // "Copy List": every listed path followed by CR LF.
    std::string CopyList() const;
    // Things the run could not do, one line each for people (a backup that failed, a library
    // that could not be unregistered). Cleared at the start of each run.
    const std::vector<std::string>& notes() const { return m_notes; }
    const RemovalProgress& progress() const { return m_progress; }

    Quarantine& quarantine() { return m_quarantine; }
    RestorePoints& restorePoints() { return m_restorePoints; }
    const std::string& dataFolder() const { return m_dataFolder; }

private:
    void setPercentLabel(const std::string& text);
    void setItemLabel(const std::string& text);
    void setBar(int value);
    void setProgressVisible(bool visible);
    void removeFiles(int& problems);
    void removeRegistry();
    void removeCookies();
    void checkSurvivor(size_t row, int& problems);
    void addRemovedTotal();
    void note(const std::string& text);
    bool deleteWithRetries(const std::string& path, int tries);
    // After a failed delete: forgets the copy when the original is still whole in place.
    void settleFailedDelete(const QuarantineEntry& entry, const std::string& path);
    std::string message(const char* key) const { return m_messages.getMessages(key); }

    Platform& m_platform;
    Host* m_host;
    clsLanguages& m_messages;
    Settings& m_settings;
    ScanResults& m_results;
    ScanCounters& m_counters;
    std::string m_programName;
    std::string m_dataFolder;
    RemovalHooks m_noHooks;
    RemovalHooks* m_hooks;
    Quarantine m_quarantine;
    RestorePoints m_restorePoints;
    std::vector<std::string> m_problems;
    std::vector<std::string> m_notes;
    std::set<std::string> m_noteSet;
    RemovalProgress m_progress;
};

}  // namespace vedozer
