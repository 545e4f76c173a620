#include "ui/qt/UndeletableWindow.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt/Artwork.h"
#include "ui/qt/QtText.h"
#include "ui/qt/Widgets.h"

namespace vedozer::qtui {

UndeletableWindow::UndeletableWindow(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("undeletableWindow"));
    setWindowIcon(productIcon());
    auto* v = new QVBoxLayout(this);
    m_text1 = makeWrappingLabel(this, "undeletableText1");
    m_text2 = makeWrappingLabel(this, "undeletableText2");
    v->addWidget(m_text1);
    v->addWidget(m_text2);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("undeletableList"));
    v->addWidget(m_list, 1);
    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QDialogButtonBox::Ok);
    m_ok->setObjectName(QStringLiteral("undeletableOk"));
    m_copy = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    m_copy->setObjectName(QStringLiteral("undeletableCopyList"));
    connect(m_ok, &QPushButton::clicked, this, [this] {
        if (onOk) onOk();
    });
    connect(m_copy, &QPushButton::clicked, this, [this] {
        if (onCopyList) onCopyList();
    });
    v->addWidget(buttons);
    resize(560, 380);
}

void UndeletableWindow::setCaption(CaptionId id, const std::string& text) {
    const QString t = fromCodePage(text);
    switch (id) {
    case CaptionId::UndeletableTitle: setWindowTitle(withoutMnemonic(t)); return;
    case CaptionId::UndeletableText1: m_text1->setText(t); return;
    case CaptionId::UndeletableText2: m_text2->setText(t); return;
    case CaptionId::UndeletableOk: m_ok->setText(t); return;
    case CaptionId::UndeletableCopyList: m_copy->setText(t); return;
    default: return;
    }
}

void UndeletableWindow::showItems(const std::vector<std::string>& locations) {
    m_list->clear();
    for (const std::string& l : locations) m_list->addItem(fromCodePage(l));
}

void UndeletableWindow::show() {
    QDialog::show();
    raise();
    activateWindow();
}

void UndeletableWindow::setClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(fromCodePage(text));
}

void UndeletableWindow::reject() {
    if (onOk) onOk();
}

}  // namespace vedozer::qtui
