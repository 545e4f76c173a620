#pragma once
#include <string>
#include <vector>

#include "app/presenters/WindowViews.h"
#include "i18n/Languages.h"

namespace vedozer {

// The window listing what a removal could not delete, with Ok and Copy List.
class UndeletablePresenter {
public:
    UndeletablePresenter(const Languages& languages, UndeletableView& view);

    void applyLanguage();
    // After a removal with survivors: fills the list and brings the window to the front.
    void show(const std::vector<std::string>& locations);
    // Before a scan or a removal: hidden, list emptied.
    void hideAndClear();
    // Ok: hides the window; the list stays until the next removal.
    void okClicked();
    // Copy List: every location followed by CR LF onto the clipboard (an empty list empties it).
    void copyListClicked();

    const std::vector<std::string>& items() const { return m_items; }
    bool visible() const { return m_visible; }

private:
    const Languages& m_languages;
    UndeletableView& m_view;
    std::vector<std::string> m_items;
    bool m_visible = false;
};

}  // namespace vedozer
