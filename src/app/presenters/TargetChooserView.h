#pragma once
#include <string>
#include <vector>

#include "i18n/Captions.h"

namespace vedozer {

// One more drive of the chosen installation.
struct DriveChoiceRow {
    std::string letter;  // "D"
    std::string folder;
    bool operator==(const DriveChoiceRow&) const = default;
};

// The choice as the window shows it.
struct TargetChoiceState {
    std::string folder;                 // drive C:
    std::vector<DriveChoiceRow> drives;
    std::vector<std::string> profiles;  // the names to choose from, or one text saying there is none
    int profile = 0;                    // index into profiles
    bool operator==(const TargetChoiceState&) const = default;
};

// The start window of the rescue desktop: which offline Windows installation to open. Unlike the
// other views its texts are UTF-8, as the host's paths are.
// Clicks go to TargetChooserPresenter: a mounted system -> mountedChosen, a recent one ->
// recentChosen, typing or Browse in the folder box -> folderChanged, Add Drive (letter and folder
// asked by the view) -> driveAdded, Remove Drive -> driveRemoved, the profile box -> profileChosen,
// Use This Folder -> useSuggestionClicked, Open -> openClicked, Quit -> the front end ends.
class TargetChooserView {
public:
    virtual ~TargetChooserView() = default;
    virtual void setCaption(CaptionId id, const std::string& text) = 0;  // CaptionGroup::TargetChooser
    // The mounted systems; with none, emptyText says so in place of the list.
    virtual void showMounted(const std::vector<std::string>& rows, const std::string& emptyText) = 0;
    virtual void showRecent(const std::vector<std::string>& rows) = 0;  // empty hides the list
    virtual void showChoice(const TargetChoiceState& choice) = 0;
    // Why the choice does not open, and whether a nearby folder can be taken instead ("" hides).
    virtual void showProblem(const std::string& text, bool offerSuggestion) = 0;
    // What the person should know before opening (write access, root); "" hides it.
    virtual void showNote(const std::string& text) = 0;
    virtual void setOpenEnabled(bool enabled) = 0;
    // The choice opens: the window closes and the front end opens the installation.
    virtual void accept() = 0;
};

}  // namespace vedozer
