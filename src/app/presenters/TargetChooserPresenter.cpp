#include "app/presenters/TargetChooserPresenter.h"

#include <algorithm>

#include "text/CodePage.h"
#include "text/Text.h"

namespace vedozer {

namespace {

constexpr char kSection[] = "RecentTargets";

std::string key(size_t n, const char* suffix = "") { return "Target" + std::to_string(n) + suffix; }

// The backend's messages as sentences (they are UTF-8: only an ASCII first letter is raised).
std::string sentence(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    if (!text.empty() && text.back() != '.') text += '.';
    return text;
}

}  // namespace

std::vector<InstallationChoice> readRecentTargets(SettingsStore& store, const std::string& app) {
    std::vector<InstallationChoice> out;
    for (size_t n = 1; n <= TargetChooserPresenter::kRecentCount; ++n) {
        std::string drive = store.getUser(app, kSection, key(n)).value_or("");
        if (drive.empty()) continue;
        InstallationChoice c;
        c.systemDrive = drive;
        c.user = store.getUser(app, kSection, key(n, "User")).value_or("");
        for (const std::string& d : text::split(store.getUser(app, kSection, key(n, "Drives")).value_or(""), "\t"))
            if (d.size() > 2 && d[1] == '=') c.otherDrives[text::upperChar(d[0])] = d.substr(2);
        out.push_back(std::move(c));
    }
    return out;
}

bool saveRecentTargets(SettingsStore& store, const std::string& app, const std::vector<InstallationChoice>& recent) {
    bool ok = true;
    for (size_t n = 1; n <= TargetChooserPresenter::kRecentCount; ++n) {
        InstallationChoice c = n <= recent.size() ? recent[n - 1] : InstallationChoice{};
        std::string drives;
        for (const auto& [letter, folder] : c.otherDrives)
            drives += (drives.empty() ? "" : "\t") + std::string(1, letter) + "=" + folder;
        ok = store.saveUser(app, kSection, key(n), c.systemDrive) && ok;
        ok = store.saveUser(app, kSection, key(n, "Drives"), drives) && ok;
        ok = store.saveUser(app, kSection, key(n, "User"), c.user) && ok;
    }
    return ok;
}

TargetChooserPresenter::TargetChooserPresenter(Installations& installations, SettingsStore& store,
                                               const Languages& languages, TargetChooserView& view, bool runsAsRoot)
    : m_installations(installations), m_store(store), m_languages(languages), m_view(view), m_runsAsRoot(runsAsRoot) {}

std::string TargetChooserPresenter::caption(CaptionId id) const { return text::cp1252ToUtf8(captionText(m_languages, id)); }

void TargetChooserPresenter::open(const InstallationChoice& initial) {
    for (CaptionId id : captionsOf(CaptionGroup::TargetChooser)) m_view.setCaption(id, caption(id));
    m_mounted = m_installations.mounted();
    std::vector<std::string> rows;
    for (const MountedInstallation& m : m_mounted)
        // The mark stands on its own: a language file's text starts with a capital.
        rows.push_back(m.folder + "  (" + m.fileSystem + ", " + m.source + ")" +
                       (m.readOnly ? " - " + caption(CaptionId::TargetReadOnly) : ""));
    m_view.showMounted(rows, rows.empty() ? caption(CaptionId::TargetNoneMounted) : "");
    loadRecent();

    m_choice = initial;
    if (m_choice.systemDrive.empty()) {
        if (!m_mounted.empty())
            m_choice.systemDrive = m_mounted.front().folder;
        else if (!m_recent.empty())
            m_choice = m_recent.front();
    }
    clearProblem();
    showChoice();
    m_view.showNote(m_runsAsRoot ? caption(CaptionId::TargetRunsAsRoot) : "");
}

void TargetChooserPresenter::mountedChosen(size_t row) {
    if (row >= m_mounted.size()) return;
    m_choice = InstallationChoice{m_mounted[row].folder, {}, ""};
    clearProblem();
    showChoice();
}

void TargetChooserPresenter::recentChosen(size_t row) {
    if (row >= m_recent.size()) return;
    m_choice = m_recent[row];
    clearProblem();
    showChoice();
}

void TargetChooserPresenter::folderChanged(const std::string& folder) {
    if (folder == m_choice.systemDrive) return;
    m_choice.systemDrive = folder;
    clearProblem();
    showChoice();
}

bool TargetChooserPresenter::driveAdded(const std::string& letter, const std::string& folder) {
    std::vector<std::string> free = freeLetters();
    std::string upper = text::toUpper(letter);
    if (std::find(free.begin(), free.end(), upper) == free.end()) {
        m_view.showProblem(caption(CaptionId::TargetBadDriveLetter), false);
        return false;
    }
    if (folder.empty()) return false;
    m_choice.otherDrives[upper[0]] = folder;
    clearProblem();
    showChoice();
    return true;
}

void TargetChooserPresenter::driveRemoved(size_t row) {
    if (row >= m_choice.otherDrives.size()) return;
    m_choice.otherDrives.erase(std::next(m_choice.otherDrives.begin(), static_cast<long>(row)));
    clearProblem();
    showChoice();
}

void TargetChooserPresenter::profileChosen(int index) {
    if (index < 0 || static_cast<size_t>(index) >= m_profiles.size()) return;
    m_choice.user = m_profiles[static_cast<size_t>(index)];
    clearProblem();
}

void TargetChooserPresenter::useSuggestionClicked() {
    if (!m_check.suggestedDrive.empty()) folderChanged(m_check.suggestedDrive);
}

bool TargetChooserPresenter::openClicked() {
    m_check = m_installations.check(m_choice);
    if (!m_check.ok()) {
        std::string text = sentence(m_check.error);
        if (!m_check.advice.empty()) text += "\n" + sentence(m_check.advice);
        m_view.showProblem(text, !m_check.suggestedDrive.empty());
        return false;
    }
    std::erase_if(m_recent, [&](const InstallationChoice& c) { return c.systemDrive == m_choice.systemDrive; });
    m_recent.insert(m_recent.begin(), m_choice);
    if (m_recent.size() > kRecentCount) m_recent.resize(kRecentCount);
    saveRecent();
    m_view.accept();
    return true;
}

std::vector<std::string> TargetChooserPresenter::freeLetters() const {
    std::vector<std::string> out;
    for (char c = 'D'; c <= 'Z'; ++c)
        if (!m_choice.otherDrives.count(c)) out.push_back(std::string(1, c));
    return out;
}

void TargetChooserPresenter::showChoice() {
    // The profiles of the installation the folder holds; a profile chosen before stays when it is there.
    m_profiles = m_installations.profiles(m_choice.systemDrive);
    TargetChoiceState state;
    state.folder = m_choice.systemDrive;
    for (const auto& [letter, folder] : m_choice.otherDrives) state.drives.push_back({std::string(1, letter), folder});
    if (m_profiles.empty()) {
        m_choice.user.clear();
        state.profiles = {caption(CaptionId::TargetNoProfile)};
    } else {
        auto it = std::find_if(m_profiles.begin(), m_profiles.end(),
                               [&](const std::string& p) { return text::iequals(p, m_choice.user); });
        if (it == m_profiles.end()) it = m_profiles.begin();
        m_choice.user = *it;
        state.profiles = m_profiles;
        state.profile = static_cast<int>(it - m_profiles.begin());
    }
    m_view.showChoice(state);
    m_view.setOpenEnabled(!m_choice.systemDrive.empty());
}

void TargetChooserPresenter::clearProblem() {
    m_check = {};
    m_view.showProblem("", false);
}

void TargetChooserPresenter::loadRecent() {
    m_recent = readRecentTargets(m_store, m_languages.identity().programName);
    std::vector<std::string> rows;
    for (const InstallationChoice& c : m_recent) rows.push_back(describe(c));
    m_view.showRecent(rows);
}

void TargetChooserPresenter::saveRecent() {
    saveRecentTargets(m_store, m_languages.identity().programName, m_recent);
    std::vector<std::string> rows;
    for (const InstallationChoice& c : m_recent) rows.push_back(describe(c));
    m_view.showRecent(rows);
}

std::string TargetChooserPresenter::describe(const InstallationChoice& c) const {
    std::string out = c.systemDrive;
    for (const auto& [letter, folder] : c.otherDrives) out += ", " + std::string(1, letter) + ": " + folder;
    if (!c.user.empty()) out += ", " + c.user;
    return out;
}

}  // namespace vedozer
