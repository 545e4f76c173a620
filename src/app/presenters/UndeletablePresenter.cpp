#include "app/presenters/UndeletablePresenter.h"

namespace vedozer {

UndeletablePresenter::UndeletablePresenter(const Languages& languages, UndeletableView& view)
    : m_languages(languages), m_view(view) {}

void UndeletablePresenter::applyLanguage() {
    for (CaptionId id : captionsOf(CaptionGroup::Undeletable)) m_view.setCaption(id, captionText(m_languages, id));
}

void UndeletablePresenter::show(const std::vector<std::string>& locations) {
    m_items = locations;
    m_view.showItems(m_items);
    m_visible = true;
    m_view.show();
}

void UndeletablePresenter::hideAndClear() {
    m_items.clear();
    m_view.showItems(m_items);
    if (m_visible) m_view.hide();
    m_visible = false;
}

void UndeletablePresenter::okClicked() {
    m_visible = false;
    m_view.hide();
}

void UndeletablePresenter::copyListClicked() {
    std::string text;
    for (const std::string& location : m_items) text += location + "\r\n";
    m_view.setClipboardText(text);
}

}  // namespace vedozer
