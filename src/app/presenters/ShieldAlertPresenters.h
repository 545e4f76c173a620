#pragma once
#include "app/Session.h"
#include "app/presenters/DialogView.h"
#include "app/presenters/ProtectionViews.h"

namespace vedozer {

// The memory shield's alert. The shield asks its question (QuestionKind::RunningThreat) and the
// alert answers it: Yes for STOP, No for ALLOW, Cancel when it was closed without a choice. What
// each choice does is the shield's business once the alert has closed.
class ThreatAlertPresenter {
public:
    ThreatAlertPresenter(Session& session, ThreatAlertView& view);

    void applyLanguage();
    // Shows the alert for the question's subjects (file name, company name); returns when closed.
    Answer ask(const Question& question);
    void stopClicked();
    void allowClicked();
    void closed();
    bool isOpen() const { return m_open; }

private:
    void answer(Answer a);

    Session& m_session;
    ThreatAlertView& m_view;
    Answer m_answer = Answer::Cancel;
    bool m_open = false;
};

// The home-page shield's alert (QuestionKind::HomePageChanged): Yes puts the remembered page
// back, No keeps the new one, Cancel (closed) decides nothing until the next check.
class HomePageAlertPresenter {
public:
    HomePageAlertPresenter(Session& session, HomePageAlertView& view);

    void applyLanguage();
    Answer ask(const Question& question);
    void yesClicked();
    void noClicked();
    void closed();
    bool isOpen() const { return m_open; }

private:
    void answer(Answer a);

    Session& m_session;
    HomePageAlertView& m_view;
    Answer m_answer = Answer::Cancel;
    bool m_open = false;
};

// The toolkit's message boxes with the two shields' questions taken to their own alert windows.
// The desktop's Host asks through this instead of the toolkit's DialogView; it is made before
// the session (the Host needs it) and the alerts are attached once their presenters exist. Until
// then, and for every other question, the toolkit's boxes answer.
class ProtectionDialogs : public DialogView {
public:
    explicit ProtectionDialogs(DialogView& toolkit) : m_toolkit(toolkit) {}

    void attach(ThreatAlertPresenter* threatAlert, HomePageAlertPresenter* homePageAlert) {
        m_threatAlert = threatAlert;
        m_homePageAlert = homePageAlert;
    }

    Answer ask(const Question& question) override;
    void showNotice(const Notice& notice) override { m_toolkit.showNotice(notice); }
    void pumpEvents() override { m_toolkit.pumpEvents(); }

private:
    DialogView& m_toolkit;
    ThreatAlertPresenter* m_threatAlert = nullptr;
    HomePageAlertPresenter* m_homePageAlert = nullptr;
};

}  // namespace vedozer
