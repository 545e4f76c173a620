#pragma once
#include <QDialog>

#include <functional>

#include "app/presenters/TargetChooserView.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace vedozer::qtui {

// The start window: which offline Windows installation to open. Object names: targetWindow,
// mountedList, mountedNone, recentList, targetFolder, targetBrowse, driveList, addDrive,
// removeDrive, profile, targetProblem, useSuggestion, targetNote, targetOpen, targetQuit.
class TargetWindow : public QDialog, public TargetChooserView {
public:
    TargetWindow();

    std::function<void(size_t)> onMounted;
    std::function<void(size_t)> onRecent;
    std::function<void(const std::string&)> onFolder;
    // Add Drive: asks for a letter (from those offered) and a folder.
    std::function<std::vector<std::string>()> freeLetters;
    std::function<void(const std::string& letter, const std::string& folder)> onAddDrive;
    std::function<void(size_t)> onRemoveDrive;
    std::function<void(int)> onProfile;
    std::function<void()> onUseSuggestion;
    std::function<void()> onOpen;

    void setCaption(CaptionId id, const std::string& text) override;
    void showMounted(const std::vector<std::string>& rows, const std::string& emptyText) override;
    void showRecent(const std::vector<std::string>& rows) override;
    void showChoice(const TargetChoiceState& choice) override;
    void showProblem(const std::string& text, bool offerSuggestion) override;
    void showNote(const std::string& text) override;
    void setOpenEnabled(bool enabled) override;
    void accept() override;

private:
    void browse();
    void addDrive();

    QLabel* m_intro;
    QLabel* m_mountedLabel;
    QListWidget* m_mounted;
    QLabel* m_none;
    QLabel* m_recentLabel;
    QListWidget* m_recent;
    QLabel* m_folderLabel;
    QLineEdit* m_folder;
    QPushButton* m_browse;
    QLabel* m_drivesLabel;
    QTreeWidget* m_drives;
    QPushButton* m_addDrive;
    QPushButton* m_removeDrive;
    QLabel* m_profileLabel;
    QComboBox* m_profile;
    QLabel* m_problem;
    QPushButton* m_useSuggestion;
    QLabel* m_note;
    QPushButton* m_open;
    QPushButton* m_quit;
    bool m_filling = false;
};

}  // namespace vedozer::qtui
