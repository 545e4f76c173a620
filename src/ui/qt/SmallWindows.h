#pragma once
#include <QDialog>
#include <QWidget>

#include <functional>

#include "app/presenters/WindowViews.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vedozer::qtui {

// The submission box. Object names: submitWindow, submitFileName, submitResult, submitSend,
// submitClose.
class SubmitWindow : public QDialog, public SubmitView {
public:
    explicit SubmitWindow(QWidget* owner);
    std::function<void(const std::string&)> onFileNameChanged;
    std::function<void()> onSubmit;
    std::function<void()> onClose;

    void setCaption(CaptionId id, const std::string& text) override;
    void show() override;
    void close() override { QDialog::hide(); }
    void setFileName(const std::string& text) override;
    void setResult(const std::string& text) override;
    void setSubmitEnabled(bool enabled) override;

protected:
    void reject() override;

private:
    QLabel* m_label;
    QLineEdit* m_fileName;
    QLabel* m_result;
    QPushButton* m_submit;
    QPushButton* m_close;
    bool m_setting = false;
};

// The about window, modal. Object names: aboutWindow, aboutProgram, aboutVersion, aboutCompany,
// aboutWebsite, aboutOk.
class AboutWindow : public QDialog, public AboutView {
public:
    explicit AboutWindow(QWidget* owner);
    std::function<void()> onOk;
    std::function<void()> onWebsite;

    void setCaption(CaptionId id, const std::string& text) override;
    void showModal(const AboutInfo& info) override;
    void close() override { done(QDialog::Accepted); }

protected:
    void reject() override;

private:
    QLabel* m_program;
    QLabel* m_version;
    QLabel* m_company;
    QPushButton* m_website;
    QPushButton* m_ok;
    QString m_versionTitle;
};

// The help window with the built-in text. Object names: helpWindow, helpText, helpOk.
class HelpWindow : public QDialog, public HelpView {
public:
    explicit HelpWindow(QWidget* owner);
    std::function<void()> onOk;

    void setCaption(CaptionId id, const std::string& text) override;
    void show() override;
    void close() override { QDialog::hide(); }

protected:
    void reject() override;

private:
    QLabel* m_text;
    QPushButton* m_ok;
};

// The splash window while the program loads. Object name: splashWindow.
class SplashWindow : public QWidget, public SplashView {
public:
    SplashWindow();
    void show(const std::string& programName, const std::string& version, const std::string& loadingText) override;
    void close() override { QWidget::close(); }

private:
    QLabel* m_program;
    QLabel* m_version;
    QLabel* m_loading;
};

}  // namespace vedozer::qtui
