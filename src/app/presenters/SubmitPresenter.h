#pragma once
#include <string>

#include "app/Session.h"
#include "app/presenters/DesktopHost.h"
#include "app/presenters/WindowViews.h"

namespace vedozer {

// The submission box: a file name sent for research, and the answer in its result line.
class SubmitPresenter : public HostListener {
public:
    SubmitPresenter(Session& session, SubmitView& view);

    void applyLanguage();
    void open();
    void closeClicked() { m_view.close(); }
    void fileNameChanged(const std::string& text);
    // Sends the name; the result line says whether it arrived. The text box is cleared.
    SubmitResult submitClicked();

    const std::string& result() const { return m_result; }
    bool submitEnabled() const { return m_submitEnabled; }

    // The session tells the result as a notice too; the result line already shows it.
    bool onNotice(const Notice&) override { return m_submitting; }

private:
    void setSubmitEnabled(bool enabled);

    Session& m_session;
    SubmitView& m_view;
    std::string m_fileName;
    std::string m_result;
    bool m_submitEnabled = false;
    bool m_submitting = false;
};

}  // namespace vedozer
