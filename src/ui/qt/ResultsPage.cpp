#include "ui/qt/ResultsPage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/qt/Artwork.h"
#include "ui/qt/QtText.h"
#include "ui/qt/Widgets.h"

namespace vedozer::qtui {

ResultsPage::ResultsPage(QWidget* parent) : QWidget(parent) {
    auto* v = new QVBoxLayout(this);
    m_heading = makeHeading(this, "resultsHeading");
    v->addWidget(m_heading);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("resultsSummary"));
    v->addWidget(m_summary);

    m_listOrEmpty = new QStackedWidget(this);
    m_list = new QTreeWidget(m_listOrEmpty);
    m_list->setObjectName(QStringLiteral("resultsList"));
    m_list->setColumnCount(3);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->header()->setSectionsClickable(true);
    m_list->header()->setSortIndicatorShown(true);
    // The location takes the room left: names and types keep their width.
    makeElasticColumn(m_list, 1);
    // The presenter sorts; the header only reports the click.
    connect(m_list->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (onSort && column >= 0 && column < 3) onSort(static_cast<ResultsColumn>(column));
    });
    connect(m_list, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (m_filling || column != 0 || !onRowChecked) return;
        onRowChecked(static_cast<size_t>(m_list->indexOfTopLevelItem(item)), item->checkState(0) == Qt::Checked);
    });
    m_empty = makeWrappingLabel(m_listOrEmpty, "resultsEmpty");
    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->setFrameShape(QFrame::StyledPanel);
    m_listOrEmpty->addWidget(m_list);
    m_listOrEmpty->addWidget(m_empty);
    v->addWidget(m_listOrEmpty, 3);

    m_outcomes = new QTreeWidget(this);
    m_outcomes->setObjectName(QStringLiteral("outcomeList"));
    m_outcomes->setColumnCount(3);
    m_outcomes->setRootIsDecorated(false);
    m_outcomes->setVisible(false);
    v->addWidget(m_outcomes, 1);

    auto* progress = new QHBoxLayout;
    m_removalCaption = new QLabel(this);
    m_removalCaption->setObjectName(QStringLiteral("removalCaption"));
    m_removalItem = new ElidedLabel(this);
    m_removalItem->setObjectName(QStringLiteral("removalItem"));
    progress->addWidget(m_removalCaption);
    progress->addWidget(m_removalItem, 1);
    v->addLayout(progress);
    m_removalBar = new QProgressBar(this);
    m_removalBar->setObjectName(QStringLiteral("removalProgress"));
    v->addWidget(m_removalBar);
    showRemovalProgress(RemovalProgressView{});

    m_removalNote = makeWrappingLabel(this, "removalNote");
    m_removalNote->setVisible(false);
    v->addWidget(m_removalNote);

    auto* buttons = new QHBoxLayout;
    auto action = [&](ResultsAction a, const char* name) {
        auto* b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        connect(b, &QPushButton::clicked, this, [this, a] {
            if (onAction) onAction(a);
        });
        m_actions[a] = b;
        return b;
    };
    buttons->addWidget(action(ResultsAction::SelectAll, "selectAll"));
    buttons->addWidget(action(ResultsAction::Exclude, "exclude"));
    buttons->addStretch(1);
    QPushButton* remove = action(ResultsAction::Delete, "delete");
    remove->setDefault(true);
    buttons->addWidget(remove);
    v->addLayout(buttons);
}

void ResultsPage::setCaption(CaptionId id, const std::string& text) {
    const QString t = fromCodePage(text);
    auto header = [&](QTreeWidget* list, int column) {
        QTreeWidgetItem* h = list->headerItem();
        h->setText(column, withoutMnemonic(t));
    };
    switch (id) {
    case CaptionId::ResultsFrame: m_heading->setText(withoutMnemonic(t)); return;
    case CaptionId::ResultsNameColumn: return header(m_list, 0);
    case CaptionId::ResultsLocationColumn: return header(m_list, 1);
    case CaptionId::ResultsTypeColumn: return header(m_list, 2);
    case CaptionId::SelectAll: m_actions[ResultsAction::SelectAll]->setText(t); return;
    case CaptionId::DeleteChecked: m_actions[ResultsAction::Delete]->setText(t); return;
    case CaptionId::DeleteTooltip: m_actions[ResultsAction::Delete]->setToolTip(t); return;
    case CaptionId::ExcludeChecked: m_actions[ResultsAction::Exclude]->setText(t); return;
    case CaptionId::OutcomeItemColumn: return header(m_outcomes, 0);
    case CaptionId::OutcomeColumn: return header(m_outcomes, 1);
    case CaptionId::OutcomeReasonColumn: return header(m_outcomes, 2);
    default: return;
    }
}

void ResultsPage::showRows(const std::vector<ResultRow>& rows) {
    m_filling = true;
    // Rows keep their items where they can, so a check mark does not rebuild the list under the
    // person's pointer.
    while (m_list->topLevelItemCount() > static_cast<int>(rows.size())) delete m_list->takeTopLevelItem(m_list->topLevelItemCount() - 1);
    for (size_t i = 0; i < rows.size(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(static_cast<int>(i));
        if (!item) {
            item = new QTreeWidgetItem(m_list);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        }
        const ResultRow& r = rows[i];
        item->setText(0, fromCodePage(r.name));
        item->setText(1, fromCodePage(r.location));
        item->setToolTip(1, item->text(1));
        item->setText(2, fromCodePage(r.type));
        item->setIcon(0, kindIcon(r.icon));
        item->setCheckState(0, r.checked ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
    // A name or a type is never cut off: those columns widen to what they hold.
    widenToContents(m_list, 1);
}

void ResultsPage::showSummary(const std::string& summary) { m_summary->setText(fromCodePage(summary)); }

void ResultsPage::showEmptyText(const std::string& text) {
    m_empty->setText(fromCodePage(text));
    m_listOrEmpty->setCurrentWidget(text.empty() ? static_cast<QWidget*>(m_list) : m_empty);
}

void ResultsPage::setActionEnabled(ResultsAction action, bool enabled) { m_actions[action]->setEnabled(enabled); }

void ResultsPage::showSortIndicator(ResultsColumn column, bool ascending) {
    m_list->header()->setSortIndicator(static_cast<int>(column), ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void ResultsPage::showRemovalProgress(const RemovalProgressView& p) {
    m_removalCaption->setVisible(p.visible);
    m_removalItem->setVisible(p.visible);
    m_removalBar->setVisible(p.visible);
    m_removalCaption->setText(fromCodePage(p.caption));
    m_removalItem->setFullText(fromCodePage(p.item));
    m_removalBar->setValue(p.percent);
}

void ResultsPage::showOutcomes(const std::vector<OutcomeRow>& outcomes) {
    m_outcomes->clear();
    for (const OutcomeRow& o : outcomes) {
        auto* item = new QTreeWidgetItem(m_outcomes);
        item->setText(0, fromCodePage(o.item));
        item->setText(1, fromCodePage(o.outcome));
        item->setText(2, fromCodePage(o.reason));
        for (int c = 0; c < 3; ++c) item->setToolTip(c, item->text(c));
    }
    m_outcomes->setVisible(!outcomes.empty());
}

void ResultsPage::showRemovalNote(const std::string& text) {
    m_removalNote->setText(fromCodePage(text));
    m_removalNote->setVisible(!text.empty());
}

void ResultsPage::setColumnWidths(const std::vector<int>& twips) {
    const int dpi = logicalDpiX();
    for (size_t i = 0; i < twips.size() && i < 3; ++i)
        if (twips[i] > 0) m_list->setColumnWidth(static_cast<int>(i), twipsToPixels(twips[i], dpi));
}

std::vector<int> ResultsPage::columnWidths() const {
    std::vector<int> out;
    for (int i = 0; i < 3; ++i) out.push_back(pixelsToTwips(m_list->columnWidth(i), logicalDpiX()));
    return out;
}

}  // namespace vedozer::qtui
