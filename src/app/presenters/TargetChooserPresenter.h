#pragma once
#include <string>
#include <vector>

#include "app/presenters/TargetChooserView.h"
#include "i18n/Languages.h"
#include "platform/Installations.h"
#include "platform/SettingsStore.h"

namespace vedozer {

// The start window of the rescue desktop: the Windows systems mounted on this computer, the ones
// opened recently (kept in the settings store), another folder, more drive letters and the user
// profile. A choice opens only when the scanner can open it; a folder that is not a drive root
// is refused with the folder that looks like one offered instead.
class TargetChooserPresenter {
public:
    TargetChooserPresenter(Installations& installations, SettingsStore& store, const Languages& languages,
                           TargetChooserView& view, bool runsAsRoot = false);

    // Shows the window's lists with a first choice (from the command line) and, when that one did
    // not open, why.
    void open(const InstallationChoice& initial = {});

    void mountedChosen(size_t row);
    void recentChosen(size_t row);
    void folderChanged(const std::string& folder);
    // False (and the problem shown) for a letter that is not D to Z or is taken.
    bool driveAdded(const std::string& letter, const std::string& folder);
    void driveRemoved(size_t row);
    void profileChosen(int index);
    void useSuggestionClicked();
    // Checks the choice; when it opens it is remembered first among the recent ones and the
    // window is accepted. Returns whether it opened.
    bool openClicked();

    // Letters still free for another drive, D to Z.
    std::vector<std::string> freeLetters() const;

    const InstallationChoice& choice() const { return m_choice; }
    const InstallationCheck& lastCheck() const { return m_check; }
    const std::vector<InstallationChoice>& recent() const { return m_recent; }
    const std::vector<MountedInstallation>& mountedSystems() const { return m_mounted; }

    static constexpr size_t kRecentCount = 6;

private:
    std::string caption(CaptionId id) const;
    void showChoice();
    void clearProblem();
    void loadRecent();
    void saveRecent();
    std::string describe(const InstallationChoice& choice) const;

    Installations& m_installations;
    SettingsStore& m_store;
    const Languages& m_languages;
    TargetChooserView& m_view;
    bool m_runsAsRoot;
    std::vector<MountedInstallation> m_mounted;
    std::vector<InstallationChoice> m_recent;
    InstallationChoice m_choice;
    std::vector<std::string> m_profiles;
    InstallationCheck m_check;
};

// The recent choices as the settings store keeps them, section RecentTargets: Target<n> (drive
// C:), Target<n>Drives ("D=/mnt/d" entries separated by tabs) and Target<n>User.
std::vector<InstallationChoice> readRecentTargets(SettingsStore& store, const std::string& app);
bool saveRecentTargets(SettingsStore& store, const std::string& app, const std::vector<InstallationChoice>& recent);

}  // namespace vedozer
