#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "core/Host.h"
#include "core/Outcome.h"
#include "i18n/Languages.h"
#include "platform/Platform.h"
#include "removal/Quarantine.h"
#include "removal/RestorePoint.h"
#include "scan/ScanResults.h"
#include "settings/Settings.h"

namespace vedozer {

// What the session does around a removal run. Every hook does nothing by default.
class RemovalHooks {
public:
    virtual ~RemovalHooks() = default;
    virtual void removalStarting() {}  // a front end shows the results and disables removing
    virtual void removalEnded() {}     // ... and enables it again
    virtual void setBackgroundTimers(bool on) { (void)on; }
    virtual void sendAnonymousData() {}
    virtual void statusChanged() {}  // the removed total changed
};

// How a removal command ended, and what became of every item it was asked to remove.
struct RemovalResult {
    enum class Status { NothingSelected, NothingToRemove, Declined, Busy, Ran };
    Status status = Status::Ran;
    std::vector<Detection> items;    // one per checked work-list row, in list order
    std::vector<std::string> notes;  // what the run as a whole could not do (quarantine folder, restore point)

    bool ran() const { return status == Status::Ran; }
    size_t notRemoved() const;
};

// The removal of checked detections: the remove command, the run with its two passes over the
// work lists, the per-item operations, the list of undeletable items and the removed total.
//
// Nothing is removed without a backup: a file or folder is copied whole into the quarantine
// (and a registry value or key saved there) before it is deleted; when that copy fails the item
// stays where it is. After the passes every item is checked on the system: only what is gone
// counts as removed. What is still there stays in the results (unchecked), is listed as
// undeletable and gets a "not removed" outcome with the reason.
class Removal {
public:
    Removal(Platform& platform, Host& host, Languages& messages, Settings& settings, ScanResults& results,
            std::string programName, std::string dataFolder, RemovalHooks* hooks = nullptr);

    void setHost(Host& host) { m_host = &host; }
    void setHooks(RemovalHooks* hooks);

    // True while a scheduled scan removes everything it found: no questions.
    bool unattended = false;
    // The "Gathering information..." pause before a run.
    uint32_t gatheringPauseMillis = 250;

    // The remove command: checks, the confirmation (unless unattended), then the run.
    RemovalResult removeChecked();
    // The confirmation text of the remove command.
    std::string confirmationPrompt();
    // The removal run itself, over the checked rows.
    RemovalResult run();
    // After a scheduled scan with automatic deletion: select everything and remove, no questions.
    RemovalResult removeEverythingUnattended();
    bool running() const { return m_running; }

    // Per-item operations. The spyware name only labels the quarantine entry.
    // With fullPath, only a process whose main module is that very file is stopped.
    bool stopProgram(const std::string& fileName, const std::string& fullPath = "");
    Outcome removeExecutableFile(const std::string& path, const std::string& spywareName = "");
    Outcome removeLibraryFile(const std::string& path, const std::string& spywareName = "");
    // Unregisters (or registers) a library's COM server where the platform can; noted otherwise.
    bool registerServer(const std::string& path, bool registerFlag);
    Outcome removeFileOrFolder(const std::string& path, const std::string& spywareName = "");
    Outcome deleteRegistryValue(RootKey root, const std::string& key, const std::string& value,
                                const std::string& spywareName = "");
    Outcome deleteRegistryKey(RootKey root, const std::string& key, const std::string& spywareName = "");
    Outcome removeCookieFile(const std::string& path, const std::string& spywareName = "");

    // Items still on the system after the last run (files, folders, registry entries, cookies),
    // as locations. Cleared by the remove command.
    const std::vector<std::string>& undeletable() const { return m_undeletable; }
    void clearUndeletable() { m_undeletable.clear(); }
    // The undeletable list as text: every location followed by CR LF.
    std::string copyList() const;
    // Things the last run could not do, one line each for people. Cleared at the start of each run.
    const std::vector<std::string>& notes() const { return m_notes; }
    // The run's bar and captions as last shown.
    const RemovalProgress& progress() const { return m_progress; }
    bool progressVisible() const { return m_progressVisible; }

    Quarantine& quarantine() { return m_quarantine; }
    RestorePoints& restorePoints() { return m_restorePoints; }
    const std::string& dataFolder() const { return m_dataFolder; }

private:
    struct Pass;  // the rows of one run and their outcomes so far (RemovalRun.cpp)

    void showProgress(size_t done, const std::string& caption, const std::string& item);
    void showCaption(const std::string& caption);
    void removalPass(Pass& pass);
    Outcome removeFileRow(const FileWorkRow& row);
    Outcome removeRegistryRow(const RegistryWorkRow& row);
    Outcome removeCookieRow(const CookieWorkRow& row);
    void settle(Pass& pass, RemovalResult& result);
    void addRemovedTotal(int64_t removedThreats, int64_t removedTraces);
    void note(const std::string& text);
    Outcome quarantineAndDelete(const std::string& path, const std::string& spywareName);
    bool deleteWithRetries(const std::string& path, int tries);
    // After a failed delete: forgets the copy when the original is still whole in place.
    void settleFailedDelete(const QuarantineEntry& entry, const std::string& path);
    std::string registryProblem() const;
    std::string message(const char* key) const { return m_messages.getMessages(key); }

    Platform& m_platform;
    Host* m_host;
    Languages& m_messages;
    Settings& m_settings;
    ScanResults& m_results;
    std::string m_programName;
    std::string m_dataFolder;
    RemovalHooks m_noHooks;
    RemovalHooks* m_hooks;
    Quarantine m_quarantine;
    RestorePoints m_restorePoints;
    std::vector<std::string> m_undeletable;
    std::vector<std::string> m_notes;
    std::set<std::string> m_noteSet;
    RemovalProgress m_progress;
    bool m_progressVisible = false;
    bool m_running = false;
};

}  // namespace vedozer
