#include "app/presenters/HelpPresenter.h"

#include "settings/SettingsKeys.h"

namespace vedozer {

HelpPresenter::HelpPresenter(Session& session, HelpView& view, ProgramLocation program)
    : m_session(session), m_view(view), m_program(std::move(program)) {}

void HelpPresenter::applyLanguage() {
    for (CaptionId id : captionsOf(CaptionGroup::Help)) m_view.setCaption(id, captionText(m_session.languages(), id));
}

bool HelpPresenter::helpFileExists() {
    if (m_program.helpFile.empty()) return false;
    auto info = m_session.dataFiles().lookup(m_program.helpFile);
    return info && !info->isDirectory();
}

void HelpPresenter::open() {
    Shell* shell = m_session.platform().shell;
    if (helpFileExists() && shell && shell->open(m_program.helpFile)) {
        m_session.setSetting(skey::Settings, skey::showHelp, "0", SettingScope::Machine);
        return;
    }
    m_view.show();
}

void HelpPresenter::showOnFirstUse() {
    if (m_session.settings().get(skey::Settings, skey::showHelp, "1") != "1") return;
    open();
    m_session.setSetting(skey::Settings, skey::showHelp, "0");
}

}  // namespace vedozer
