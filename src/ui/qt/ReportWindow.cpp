#include "ui/qt/ReportWindow.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt/Artwork.h"
#include "ui/qt/QtText.h"

namespace vedozer::qtui {

ReportWindow::ReportWindow(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("reportWindow"));
    setWindowIcon(productIcon());
    auto* v = new QVBoxLayout(this);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("reportText"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    v->addWidget(m_text, 1);
    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QDialogButtonBox::Ok);
    m_ok->setObjectName(QStringLiteral("reportOk"));
    connect(m_ok, &QPushButton::clicked, this, [this] {
        if (onOk) onOk();
    });
    v->addWidget(buttons);
    resize(720, 520);
}

void ReportWindow::setCaption(CaptionId id, const std::string& text) {
    if (id == CaptionId::ReportOk) m_ok->setText(fromCodePage(text));
}

void ReportWindow::setTitle(const std::string& title) { setWindowTitle(withoutMnemonic(fromCodePage(title))); }

void ReportWindow::setText(const std::string& text) { m_text->setPlainText(fromCodePage(text)); }

void ReportWindow::showModal() {
    m_ok->setFocus();
    exec();
}

void ReportWindow::reject() {
    if (onOk) onOk();
}

}  // namespace vedozer::qtui
