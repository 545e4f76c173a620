#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/Session.h"
#include "i18n/Captions.h"

namespace vedozer {

// The language window. Choosing an entry of the list -> LanguagePresenter::languageChosen;
// "Check for language updates" -> checkForUpdatesClicked; "Translate this program" ->
// translateClicked; OK (and closing the window) -> okClicked.
class LanguageView {
public:
    virtual ~LanguageView() = default;
    virtual void setTitle(const std::string& title) = 0;
    virtual void setCaption(CaptionId id, const std::string& text) = 0;  // CaptionGroup::Language
    // The languages to choose from and the one shown as chosen (an index into names, -1: none).
    virtual void showLanguages(const std::vector<std::string>& names, int chosen) = 0;
    virtual void showModal() = 0;  // returns when the window has closed
    virtual void close() = 0;
};

// The languages of Localization.txt: choosing one loads it into the catalogue and saves it at
// once, after which every other window takes its captions again (languageApplied). A newer file
// can be fetched from the definition server, and the file opened for translating.
class LanguagePresenter {
public:
    LanguagePresenter(Session& session, LanguageView& view, std::function<void()> languageApplied);

    // Fills the window and shows it, modal.
    void open();
    void applyLanguage();
    void languageChosen(size_t index);
    void checkForUpdatesClicked();
    void translateClicked();
    void okClicked() { m_view.close(); }

    const std::vector<std::string>& languages() const { return m_names; }

private:
    void fillList();
    void languageChanged();
    void tell(NoticeKind kind, const std::string& text);

    Session& m_session;
    LanguageView& m_view;
    std::function<void()> m_languageApplied;
    std::vector<std::string> m_names;
};

}  // namespace vedozer
