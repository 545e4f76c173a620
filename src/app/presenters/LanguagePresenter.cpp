#include "app/presenters/LanguagePresenter.h"

#include "i18n/MessageKeys.h"
#include "settings/SettingsKeys.h"
#include "text/Text.h"

namespace vedozer {

LanguagePresenter::LanguagePresenter(Session& session, LanguageView& view, std::function<void()> languageApplied)
    : m_session(session), m_view(view), m_languageApplied(std::move(languageApplied)) {}

void LanguagePresenter::open() {
    applyLanguage();
    fillList();
    m_view.showModal();
}

void LanguagePresenter::applyLanguage() {
    m_view.setTitle(m_session.message(msg::MSG_TITLELANGUAGE));
    for (CaptionId id : captionsOf(CaptionGroup::Language))
        m_view.setCaption(id, captionText(m_session.languages(), id));
}

void LanguagePresenter::fillList() {
    m_names = m_session.availableLanguages();
    const std::string saved = m_session.settings().get(skey::Settings, skey::Language, "English");
    int chosen = -1;
    for (size_t i = 0; i < m_names.size(); ++i)
        if (chosen < 0 && text::iequals(m_names[i], saved)) chosen = static_cast<int>(i);
    m_view.showLanguages(m_names, chosen);
}

// The main window first, then this one, as both now read the catalogue's new texts.
void LanguagePresenter::languageChanged() {
    if (m_languageApplied) m_languageApplied();
    applyLanguage();
}

void LanguagePresenter::languageChosen(size_t index) {
    if (index >= m_names.size()) return;
    LanguageState state = m_session.chooseLanguage(m_names[index]);
    languageChanged();
    if (!state.problems.empty()) {
        fillList();  // the saved language is still the one chosen before
        tell(NoticeKind::Warning, m_session.languageProblemText(state));
    }
    for (const std::string& note : state.notes) tell(NoticeKind::Warning, note);
}

void LanguagePresenter::checkForUpdatesClicked() {
    LanguageDownloadResult result = m_session.updateLanguageFile();
    if (!result.replaced) {
        tell(NoticeKind::Warning, m_session.message(msg::MSG_LANGUAGE_NOT_UPDATED) + "\r\n" + result.error);
        return;
    }
    fillList();
    languageChanged();
    tell(NoticeKind::Info, m_session.message(msg::MSG_DOWNLOADED));
    if (!m_session.language().problems.empty())
        tell(NoticeKind::Warning, m_session.languageProblemText(m_session.language()));
}

void LanguagePresenter::translateClicked() {
    Outcome opened = m_session.openLocalizationFile();
    if (!opened.isDone()) tell(NoticeKind::Warning, opened.reason);
}

void LanguagePresenter::tell(NoticeKind kind, const std::string& text) {
    m_session.host().onNotice(Notice{kind, text});
}

}  // namespace vedozer
