#include "app/presenters/AboutPresenter.h"

#include "i18n/MessageKeys.h"

namespace vedozer {

AboutPresenter::AboutPresenter(Session& session, AboutView& view, std::string version)
    : m_session(session), m_view(view), m_version(std::move(version)) {}

void AboutPresenter::applyLanguage() {
    for (CaptionId id : captionsOf(CaptionGroup::About)) m_view.setCaption(id, captionText(m_session.languages(), id));
    m_view.setCaption(CaptionId::Website, m_session.message(msg::MSG_WEBSITE));
}

AboutInfo AboutPresenter::info() const {
    const ProductIdentity& id = m_session.identity();
    return AboutInfo{id.programName, m_version, id.companyName, id.website};
}

void AboutPresenter::open() { m_view.showModal(info()); }

Outcome AboutPresenter::websiteClicked() {
    Shell* shell = m_session.platform().shell;
    const std::string& site = m_session.identity().website;
    if (!shell || site.empty()) return Outcome::notDone("there is no website to open");
    if (!shell->open(site)) return Outcome::notDone("the desktop could not open " + site);
    return Outcome::done();
}

}  // namespace vedozer
