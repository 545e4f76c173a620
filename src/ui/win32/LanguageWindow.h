#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/presenters/LanguagePresenter.h"
#include "ui/win32/DialogBase.h"

namespace vedozer::win32ui {

// The language window, modal: the languages of Localization.txt in a list, OK, "Check for
// language updates" and "Translate this program". Texts and the list given before the window
// opens are kept and shown when it does; while it is open they change in place.
class LanguageWindow : public DialogBase, public LanguageView {
public:
    void setOwner(HWND owner) { m_owner = owner; }
    void setTitle(const std::string& title) override;
    void setCaption(CaptionId id, const std::string& text) override;
    void showLanguages(const std::vector<std::string>& names, int chosen) override;
    void showModal() override;
    void close() override;

    // The person chose the language in this row of the list.
    std::function<void(size_t)> onChosen;
    std::function<void()> onCheckForUpdates, onTranslate, onOk;

protected:
    void onInit() override;
    void onCommand(int id, int code) override;
    LRESULT onNotify(NMHDR* header) override;

private:
    void applyCaption(CaptionId id);
    void fillList();

    HWND m_owner = nullptr;
    std::string m_title;
    std::map<CaptionId, std::string> m_captions;
    std::vector<std::string> m_names;
    int m_chosen = -1;
};

}  // namespace vedozer::win32ui
