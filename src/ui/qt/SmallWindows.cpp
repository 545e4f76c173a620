#include "ui/qt/SmallWindows.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/qt/Artwork.h"
#include "ui/qt/QtText.h"
#include "ui/qt/Widgets.h"

namespace vedozer::qtui {

namespace {

QLabel* iconLabel(QWidget* parent, int size) {
    auto* l = new QLabel(parent);
    l->setPixmap(productIcon().pixmap(size, size));
    return l;
}

}  // namespace

SubmitWindow::SubmitWindow(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("submitWindow"));
    setWindowIcon(productIcon());
    auto* v = new QVBoxLayout(this);
    m_label = new QLabel(this);
    v->addWidget(m_label);
    m_fileName = new QLineEdit(this);
    m_fileName->setObjectName(QStringLiteral("submitFileName"));
    m_fileName->setMinimumWidth(m_fileName->fontMetrics().averageCharWidth() * 48);
    m_label->setBuddy(m_fileName);
    connect(m_fileName, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_setting && onFileNameChanged) onFileNameChanged(toCodePage(text));
    });
    v->addWidget(m_fileName);
    m_result = makeWrappingLabel(this, "submitResult");
    v->addWidget(m_result);
    auto* buttons = new QDialogButtonBox(this);
    m_submit = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    m_submit->setObjectName(QStringLiteral("submitSend"));
    m_submit->setDefault(true);
    m_close = buttons->addButton(QDialogButtonBox::Close);
    m_close->setObjectName(QStringLiteral("submitClose"));
    connect(m_submit, &QPushButton::clicked, this, [this] {
        if (onSubmit) onSubmit();
    });
    connect(m_close, &QPushButton::clicked, this, [this] {
        if (onClose) onClose();
    });
    v->addWidget(buttons);
}

void SubmitWindow::setCaption(CaptionId id, const std::string& text) {
    const QString t = fromCodePage(text);
    switch (id) {
    case CaptionId::SubmitTitle: setWindowTitle(withoutMnemonic(t)); return;
    case CaptionId::SubmitFileLabel: m_label->setText(t); return;
    case CaptionId::SubmitButton: m_submit->setText(t); return;
    case CaptionId::SubmitClose: m_close->setText(t); return;
    default: return;
    }
}

void SubmitWindow::show() {
    QDialog::show();
    raise();
    activateWindow();
    m_fileName->setFocus();
}

void SubmitWindow::setFileName(const std::string& text) {
    m_setting = true;
    m_fileName->setText(fromCodePage(text));
    m_setting = false;
}

void SubmitWindow::setResult(const std::string& text) { m_result->setText(fromCodePage(text)); }

void SubmitWindow::setSubmitEnabled(bool enabled) { m_submit->setEnabled(enabled); }

void SubmitWindow::reject() {
    if (onClose) onClose();
}

AboutWindow::AboutWindow(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("aboutWindow"));
    setWindowIcon(productIcon());
    auto* grid = new QGridLayout(this);
    grid->addWidget(iconLabel(this, 64), 0, 0, 4, 1, Qt::AlignTop);
    m_program = makeHeading(this, "aboutProgram");
    m_version = new QLabel(this);
    m_version->setObjectName(QStringLiteral("aboutVersion"));
    m_company = new QLabel(this);
    m_company->setObjectName(QStringLiteral("aboutCompany"));
    m_website = new QPushButton(this);
    m_website->setObjectName(QStringLiteral("aboutWebsite"));
    m_website->setAutoDefault(false);
    connect(m_website, &QPushButton::clicked, this, [this] {
        if (onWebsite) onWebsite();
    });
    grid->addWidget(m_program, 0, 1);
    grid->addWidget(m_version, 1, 1);
    grid->addWidget(m_company, 2, 1);
    grid->addWidget(m_website, 3, 1, Qt::AlignLeft);
    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QDialogButtonBox::Ok);
    m_ok->setObjectName(QStringLiteral("aboutOk"));
    connect(m_ok, &QPushButton::clicked, this, [this] {
        if (onOk) onOk();
    });
    grid->addWidget(buttons, 4, 0, 1, 2);
    grid->setColumnStretch(1, 1);
}

void AboutWindow::setCaption(CaptionId id, const std::string& text) {
    const QString t = fromCodePage(text);
    switch (id) {
    case CaptionId::AboutTitle: setWindowTitle(withoutMnemonic(t)); return;
    case CaptionId::AboutVersion: m_versionTitle = t; return;
    case CaptionId::AboutOk: m_ok->setText(t); return;
    case CaptionId::Website: m_website->setText(t); return;
    default: return;
    }
}

void AboutWindow::showModal(const AboutInfo& info) {
    m_program->setText(fromCodePage(info.programName));
    m_version->setText(m_versionTitle + QLatin1Char(' ') + fromCodePage(info.version));
    m_company->setText(fromCodePage(info.companyName));
    if (m_website->text().isEmpty()) m_website->setText(fromCodePage(info.website));
    m_ok->setFocus();
    exec();
}

void AboutWindow::reject() {
    if (onOk) onOk();
}

HelpWindow::HelpWindow(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowIcon(productIcon());
    auto* v = new QVBoxLayout(this);
    m_text = makeWrappingLabel(this, "helpText");
    m_text->setMinimumWidth(m_text->fontMetrics().averageCharWidth() * 60);
    v->addWidget(m_text, 1);
    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QDialogButtonBox::Ok);
    m_ok->setObjectName(QStringLiteral("helpOk"));
    connect(m_ok, &QPushButton::clicked, this, [this] {
        if (onOk) onOk();
    });
    v->addWidget(buttons);
}

void HelpWindow::setCaption(CaptionId id, const std::string& text) {
    const QString t = fromCodePage(text);
    switch (id) {
    case CaptionId::HelpTitle: setWindowTitle(withoutMnemonic(t)); return;
    case CaptionId::HelpText: m_text->setText(t); return;
    case CaptionId::HelpOk: m_ok->setText(t); return;
    default: return;
    }
}

void HelpWindow::show() {
    QDialog::show();
    raise();
    activateWindow();
}

void HelpWindow::reject() {
    if (onOk) onOk();
}

SplashWindow::SplashWindow() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("splashWindow"));
    setWindowIcon(productIcon());
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(24, 24, 24, 24);
    grid->addWidget(iconLabel(this, 64), 0, 0, 3, 1);
    m_program = makeHeading(this, "splashProgram");
    m_version = new QLabel(this);
    m_loading = new QLabel(this);
    grid->addWidget(m_program, 0, 1);
    grid->addWidget(m_version, 1, 1);
    grid->addWidget(m_loading, 2, 1);
}

void SplashWindow::show(const std::string& programName, const std::string& version, const std::string& loadingText) {
    m_program->setText(fromCodePage(programName));
    m_version->setText(fromCodePage(version));
    m_loading->setText(fromCodePage(loadingText));
    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QWidget::show();
}

}  // namespace vedozer::qtui
