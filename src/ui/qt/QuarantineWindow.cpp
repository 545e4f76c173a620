#include "ui/qt/QuarantineWindow.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/qt/Artwork.h"
#include "ui/qt/QtText.h"
#include "ui/qt/Widgets.h"

namespace vedozer::qtui {

QPushButton* QuarantineWindow::button(const char* name, std::function<void()>* handler) {
    auto* b = new QPushButton(this);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [handler] {
        if (*handler) (*handler)();
    });
    return b;
}

QuarantineWindow::QuarantineWindow(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("quarantineWindow"));
    setWindowIcon(productIcon());
    auto* v = new QVBoxLayout(this);
    m_itemsHeading = makeHeading(this, "quarantineHeading");
    v->addWidget(m_itemsHeading);
    m_items = new QTreeWidget(this);
    m_items->setObjectName(QStringLiteral("quarantineList"));
    m_items->setColumnCount(5);
    m_items->setRootIsDecorated(false);
    m_items->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_items->setAllColumnsShowFocus(true);
    makeElasticColumn(m_items, 2);
    connect(m_items, &QTreeWidget::itemSelectionChanged, this, [this] { selectionChanged(); });
    v->addWidget(m_items, 3);

    m_replace = new QCheckBox(this);
    m_replace->setObjectName(QStringLiteral("replaceExisting"));
    v->addWidget(m_replace);
    auto* itemButtons = new QHBoxLayout;
    m_restore = new QPushButton(this);
    m_restore->setObjectName(QStringLiteral("quarantineRestore"));
    m_restore->setAutoDefault(false);
    connect(m_restore, &QPushButton::clicked, this, [this] {
        if (onRestore) onRestore(m_replace->isChecked());
    });
    itemButtons->addWidget(m_restore);
    itemButtons->addStretch(1);
    m_openFolder = button("quarantineOpenFolder", &onOpenFolder);
    m_openLog = button("quarantineOpenLog", &onOpenLog);
    m_viewExclusions = button("quarantineViewExclusions", &onViewExclusions);
    for (QPushButton* b : {m_openFolder, m_openLog, m_viewExclusions}) itemButtons->addWidget(b);
    v->addLayout(itemButtons);

    v->addSpacing(8);
    m_pointsHeading = makeHeading(this, "restorePointsHeading");
    v->addWidget(m_pointsHeading);
    m_points = new QTreeWidget(this);
    m_points->setObjectName(QStringLiteral("restorePointList"));
    m_points->setColumnCount(3);
    m_points->setRootIsDecorated(false);
    m_points->setSelectionMode(QAbstractItemView::SingleSelection);
    makeElasticColumn(m_points, 2);
    connect(m_points, &QTreeWidget::itemSelectionChanged, this, [this] { selectionChanged(); });
    v->addWidget(m_points, 2);
    m_pointsNote = makeWrappingLabel(this, "restorePointsNote");
    v->addWidget(m_pointsNote);
    m_restorePoint = button("restorePointRestore", &onRestorePoint);
    auto* pointButtons = new QHBoxLayout;
    pointButtons->addWidget(m_restorePoint);
    pointButtons->addStretch(1);
    v->addLayout(pointButtons);

    m_results = makeWrappingLabel(this, "quarantineResults");
    m_results->setTextInteractionFlags(Qt::TextSelectableByMouse);
    v->addWidget(m_results);
    auto* buttons = new QDialogButtonBox(this);
    m_close = buttons->addButton(QDialogButtonBox::Close);
    m_close->setObjectName(QStringLiteral("quarantineClose"));
    connect(m_close, &QPushButton::clicked, this, [this] {
        if (onClose) onClose();
    });
    v->addWidget(buttons);
    resize(860, 600);
}

void QuarantineWindow::setCaption(CaptionId id, const std::string& text) {
    const QString t = fromCodePage(text);
    auto column = [&](QTreeWidget* list, int c) { list->headerItem()->setText(c, withoutMnemonic(t)); };
    switch (id) {
    case CaptionId::QuarantineTitle:
        setWindowTitle(withoutMnemonic(t));
        m_itemsHeading->setText(withoutMnemonic(t));
        return;
    case CaptionId::QuarantineTimeColumn: return column(m_items, 0);
    case CaptionId::QuarantineKindColumn: return column(m_items, 1);
    case CaptionId::QuarantineLocationColumn: return column(m_items, 2);
    case CaptionId::QuarantineSpywareColumn: return column(m_items, 3);
    case CaptionId::QuarantineStateColumn: return column(m_items, 4);
    case CaptionId::QuarantineRestore: m_restore->setText(t); return;
    case CaptionId::QuarantineReplace: m_replace->setText(t); return;
    case CaptionId::QuarantineOpenFolder: m_openFolder->setText(t); return;
    case CaptionId::QuarantineOpenLog: m_openLog->setText(t); return;
    case CaptionId::QuarantineViewExclusions: m_viewExclusions->setText(t); return;
    case CaptionId::RestorePointNameColumn:
        m_pointsHeading->setText(withoutMnemonic(t));
        return column(m_points, 0);
    case CaptionId::RestorePointMadeColumn: return column(m_points, 1);
    case CaptionId::RestorePointHoldsColumn: return column(m_points, 2);
    case CaptionId::RestorePointRestore: m_restorePoint->setText(t); return;
    case CaptionId::RestorePointsBySystem: m_pointsNote->setText(t); return;
    case CaptionId::QuarantineClose: m_close->setText(t); return;
    default: return;
    }
}

void QuarantineWindow::show() {
    QDialog::show();
    raise();
    activateWindow();
}

void QuarantineWindow::showItems(const std::vector<QuarantineRow>& rows) {
    m_filling = true;
    m_itemRows = rows;
    m_items->clear();
    for (const QuarantineRow& r : rows) {
        auto* item = new QTreeWidgetItem(m_items);
        const std::string* cells[] = {&r.time, &r.kind, &r.location, &r.spyware, &r.state};
        for (int c = 0; c < 5; ++c) {
            item->setText(c, fromCodePage(*cells[c]));
            item->setToolTip(c, item->text(c));
        }
        if (!r.restorable) item->setForeground(4, palette().brush(QPalette::Disabled, QPalette::Text));
    }
    widenToContents(m_items, 2);
    m_filling = false;
}

void QuarantineWindow::showRestorePoints(const std::vector<RestorePointRow>& rows, bool keptHere) {
    m_filling = true;
    m_pointRows = rows;
    m_points->clear();
    for (const RestorePointRow& r : rows) {
        auto* item = new QTreeWidgetItem(m_points);
        item->setText(0, fromCodePage(r.name));
        item->setText(1, fromCodePage(r.made));
        item->setText(2, fromCodePage(r.holds));
        item->setToolTip(2, item->text(2));
    }
    widenToContents(m_points, 2);
    m_points->setVisible(keptHere);
    m_restorePoint->setVisible(keptHere);
    m_pointsNote->setVisible(!keptHere);
    m_filling = false;
}

void QuarantineWindow::showResults(const std::vector<std::string>& lines) {
    QString text;
    for (const std::string& l : lines) text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + fromCodePage(l);
    m_results->setText(text);
    m_results->setVisible(!lines.empty());
}

void QuarantineWindow::setActionEnabled(QuarantineAction action, bool enabled) {
    (action == QuarantineAction::Restore ? m_restore : m_restorePoint)->setEnabled(enabled);
}

void QuarantineWindow::selectionChanged() {
    if (m_filling || !onSelection) return;
    std::vector<uint64_t> ids;
    for (QTreeWidgetItem* item : m_items->selectedItems()) {
        int row = m_items->indexOfTopLevelItem(item);
        if (row >= 0 && static_cast<size_t>(row) < m_itemRows.size()) ids.push_back(m_itemRows[static_cast<size_t>(row)].id);
    }
    std::string point;
    for (QTreeWidgetItem* item : m_points->selectedItems()) {
        int row = m_points->indexOfTopLevelItem(item);
        if (row >= 0 && static_cast<size_t>(row) < m_pointRows.size()) point = m_pointRows[static_cast<size_t>(row)].name;
    }
    onSelection(ids, point);
}

void QuarantineWindow::reject() {
    if (onClose) onClose();
}

}  // namespace vedozer::qtui
