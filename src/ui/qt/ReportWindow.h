#pragma once
#include <QDialog>

#include <functional>

#include "app/presenters/WindowViews.h"

class QPlainTextEdit;
class QPushButton;

namespace vedozer::qtui {

// The report viewer, modal. Object names: reportWindow, reportText, reportOk.
class ReportWindow : public QDialog, public ReportView {
public:
    explicit ReportWindow(QWidget* owner);

    std::function<void()> onOk;

    void setCaption(CaptionId id, const std::string& text) override;
    void setTitle(const std::string& title) override;
    void setText(const std::string& text) override;
    void showModal() override;
    void close() override { done(QDialog::Accepted); }

protected:
    void reject() override;  // Esc is OK

private:
    QPlainTextEdit* m_text;
    QPushButton* m_ok;
};

}  // namespace vedozer::qtui
