#include "app/presenters/SubmitPresenter.h"

#include "text/Text.h"

namespace vedozer {

SubmitPresenter::SubmitPresenter(Session& session, SubmitView& view) : m_session(session), m_view(view) {}

void SubmitPresenter::applyLanguage() {
    for (CaptionId id : captionsOf(CaptionGroup::Submit)) m_view.setCaption(id, captionText(m_session.languages(), id));
}

void SubmitPresenter::open() {
    m_fileName.clear();
    m_result.clear();
    m_view.setFileName(m_fileName);
    m_view.setResult(m_result);
    setSubmitEnabled(false);
    m_view.show();
}

void SubmitPresenter::fileNameChanged(const std::string& text) {
    m_fileName = text;
    // An empty name would only send the separator.
    setSubmitEnabled(!text::trimWhitespace(text).empty());
}

SubmitResult SubmitPresenter::submitClicked() {
    if (!m_submitEnabled) return SubmitResult{};
    setSubmitEnabled(false);
    m_submitting = true;
    SubmitResult r = m_session.submit(m_fileName);
    m_submitting = false;
    m_result = r.text;
    m_view.setResult(m_result);
    m_fileName.clear();
    m_view.setFileName(m_fileName);
    return r;
}

void SubmitPresenter::setSubmitEnabled(bool enabled) {
    m_submitEnabled = enabled;
    m_view.setSubmitEnabled(enabled);
}

}  // namespace vedozer
