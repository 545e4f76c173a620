#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "app/Session.h"
#include "app/presenters/WindowViews.h"

namespace vedozer {

// The Quarantine menu (open the folder, open the exclusion list) and the quarantine window: the
// items removals kept, restoring them, and the restore points made before removals.
class QuarantinePresenter {
public:
    QuarantinePresenter(Session& session, QuarantineView& view);

    void applyLanguage();

    // Menu: "View Quarantine" and "View Exclusions". A failure is told as a notice.
    Outcome viewQuarantineFolder();
    Outcome viewExclusions();

    void openWindow();
    void closeClicked();
    // The window's selection changed (ids of the selected item rows, name of the selected point).
    void selectionChanged(const std::vector<uint64_t>& items, const std::string& restorePoint);
    // Puts the selected items back; with replace, over what is there now.
    void restoreClicked(bool replace);
    // Asks, then puts the registry back as the selected restore point holds it.
    void restorePointClicked();
    void openFolderClicked() { viewQuarantineFolder(); }
    void openLogClicked();
    void viewExclusionsClicked() { viewExclusions(); }

    const std::vector<QuarantineRow>& items() const { return m_items; }
    const std::vector<RestorePointRow>& restorePoints() const { return m_points; }
    const std::vector<std::string>& results() const { return m_results; }
    bool isOpen() const { return m_open; }

private:
    void refresh();
    void tellIfFailed(const Outcome& outcome);
    void updateActions();
    std::string stateText(const QuarantineEntry& entry) const;

    Session& m_session;
    QuarantineView& m_view;
    std::vector<QuarantineRow> m_items;
    std::vector<RestorePointRow> m_points;
    std::vector<std::string> m_results;
    std::vector<uint64_t> m_selectedItems;
    std::string m_selectedPoint;
    bool m_open = false;
};

}  // namespace vedozer
