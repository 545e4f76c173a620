#pragma once
#include "app/Session.h"
#include "app/presenters/WindowViews.h"

namespace vedozer {

// Help: the help file beside the program, opened with the desktop; without one, the help window
// with the built-in text. On the first start help opens once by itself.
class HelpPresenter {
public:
    HelpPresenter(Session& session, HelpView& view, ProgramLocation program);

    void applyLanguage();
    // Opens the help file (and notes machine-wide that help was shown), else the help window.
    void open();
    // At start-up: help once, while the per-user showHelp is "1"; then it is "0".
    void showOnFirstUse();
    void okClicked() { m_view.close(); }

    bool helpFileExists();

private:
    Session& m_session;
    HelpView& m_view;
    ProgramLocation m_program;
};

}  // namespace vedozer
