#pragma once
#include "app/Session.h"
#include "app/presenters/WindowViews.h"

namespace vedozer {

// The about window: program, version, maker and website; the website button opens the site.
class AboutPresenter {
public:
    AboutPresenter(Session& session, AboutView& view, std::string version);

    void applyLanguage();
    void open();  // modal
    void okClicked() { m_view.close(); }
    Outcome websiteClicked();

    AboutInfo info() const;

private:
    Session& m_session;
    AboutView& m_view;
    std::string m_version;
};

}  // namespace vedozer
