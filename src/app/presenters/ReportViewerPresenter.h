#pragma once
#include <functional>

#include "app/Session.h"
#include "app/presenters/WindowViews.h"

namespace vedozer {

// The report viewer: the last scan report as the viewer shows it (single-spaced), modal, with OK.
class ReportViewerPresenter {
public:
    ReportViewerPresenter(Session& session, ReportView& view);

    void applyLanguage();
    // Shows the report and returns when the window has closed. While it is open the commands that
    // open it are disabled (the callback switches them).
    void open();
    void okClicked() { m_view.close(); }
    void setCommandSwitch(std::function<void(bool)> enableCommands) { m_enableCommands = std::move(enableCommands); }

    const std::string& text() const { return m_text; }
    bool isOpen() const { return m_open; }

private:
    Session& m_session;
    ReportView& m_view;
    std::function<void(bool)> m_enableCommands;
    std::string m_text;
    bool m_open = false;
};

}  // namespace vedozer
