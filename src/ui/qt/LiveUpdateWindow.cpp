#include "ui/qt/LiveUpdateWindow.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>

#include "ui/qt/Artwork.h"
#include "ui/qt/QtText.h"
#include "ui/qt/Widgets.h"

namespace vedozer::qtui {

LiveUpdateWindow::LiveUpdateWindow(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("liveUpdateWindow"));
    setWindowIcon(productIcon());
    auto* grid = new QGridLayout(this);
    m_arrow = new QLabel(this);
    m_arrow->setObjectName(QStringLiteral("liveUpdateArrow"));
    grid->addWidget(m_arrow, 0, 0, 3, 1, Qt::AlignTop);
    m_caption = new QLabel(this);
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);
    grid->addWidget(m_caption, 0, 1);
    m_status = makeWrappingLabel(this, "liveUpdateStatus");
    m_status->setMinimumWidth(m_status->fontMetrics().averageCharWidth() * 50);
    grid->addWidget(m_status, 1, 1);
    m_blink = new QLabel(this);
    m_blink->setObjectName(QStringLiteral("liveUpdateBlink"));
    grid->addWidget(m_blink, 2, 1);
    m_busy = new QProgressBar(this);
    m_busy->setObjectName(QStringLiteral("liveUpdateProgress"));
    m_busy->setRange(0, 0);  // busy: the server does not say how long it takes
    grid->addWidget(m_busy, 3, 0, 1, 2);
    auto* buttons = new QDialogButtonBox(this);
    m_cancel = buttons->addButton(QDialogButtonBox::Cancel);
    m_cancel->setObjectName(QStringLiteral("liveUpdateCancel"));
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        if (onCancel) onCancel();
    });
    grid->addWidget(buttons, 4, 0, 1, 2);
    grid->setColumnStretch(1, 1);
}

void LiveUpdateWindow::setCaption(CaptionId id, const std::string& text) {
    const QString t = fromCodePage(text);
    switch (id) {
    case CaptionId::LiveUpdateTitle: setWindowTitle(withoutMnemonic(t)); return;
    case CaptionId::LiveUpdateStatusCaption: m_caption->setText(t); return;
    case CaptionId::LiveUpdateCancel: m_cancel->setText(t); return;
    default: return;
    }
}

void LiveUpdateWindow::show() {
    QDialog::show();
    raise();
}

void LiveUpdateWindow::setStatusText(const std::string& text) { m_status->setText(fromCodePage(text)); }

void LiveUpdateWindow::setBlinkText(const std::string& text) { m_blink->setText(fromCodePage(text)); }

void LiveUpdateWindow::showArrow(bool up) {
    const int size = fontMetrics().height() * 2;
    m_arrow->setPixmap(style()->standardIcon(up ? QStyle::SP_ArrowUp : QStyle::SP_ArrowDown).pixmap(size, size));
}

void LiveUpdateWindow::reject() {
    if (onCancel) onCancel();
}

}  // namespace vedozer::qtui
