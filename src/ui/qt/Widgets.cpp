#include "ui/qt/Widgets.h"

#include <QFontMetrics>
#include <QResizeEvent>

namespace vedozer::qtui {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setFullText(const QString& text) {
    if (text == m_full) return;
    m_full = text;
    setToolTip(text);
    elide();
}

QSize ElidedLabel::minimumSizeHint() const { return QSize(0, QLabel::minimumSizeHint().height()); }

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::elide() { setText(fontMetrics().elidedText(m_full, Qt::ElideMiddle, qMax(0, width()))); }

QLabel* makeHeading(QWidget* parent, const char* objectName) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(objectName));
    QFont f = label->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    label->setFont(f);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* makeWrappingLabel(QWidget* parent, const char* objectName) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(objectName));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace vedozer::qtui
