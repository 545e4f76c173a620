#include "ui/qt/Widgets.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLayout>
#include <QTreeWidget>
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

void makeElasticColumn(QTreeWidget* list, int elastic) {
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(elastic, QHeaderView::Stretch);
}

void widenToContents(QTreeWidget* list, int elastic) {
    for (int column = 0; column < list->columnCount(); ++column) {
        if (column == elastic) continue;
        const int was = list->columnWidth(column);
        list->resizeColumnToContents(column);
        if (list->columnWidth(column) < was) list->setColumnWidth(column, was);
    }
}

void growToContents(QWidget* window) {
    QLayout* layout = window->layout();
    if (!layout || !window->isVisible()) return;
    layout->activate();
    int height = layout->hasHeightForWidth() ? layout->totalHeightForWidth(window->width())
                                             : layout->totalSizeHint().height();
    height = qMax(height, layout->totalMinimumSize().height());
    if (height > window->height()) window->resize(window->width(), height);
}

}  // namespace vedozer::qtui
