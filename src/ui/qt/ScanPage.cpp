#include "ui/qt/ScanPage.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/qt/Artwork.h"
#include "ui/qt/QtText.h"
#include "ui/qt/Widgets.h"

namespace vedozer::qtui {

namespace {

constexpr CaptionId kCounterIds[] = {CaptionId::MemoryInspectedTitle, CaptionId::RegistryInspectedTitle,
                                     CaptionId::FilesInspectedTitle,  CaptionId::SoftwareFoundTitle,
                                     CaptionId::TracesFoundTitle,     CaptionId::RunningProgramsTitle};
constexpr const char* kCounterNames[] = {"memoryInspected", "registryInspected", "filesInspected",
                                         "softwareFound",   "traces",            "runningPrograms"};

}  // namespace

QPushButton* ScanPage::button(Action action, const char* name) {
    auto* b = new QPushButton(this);
    b->setObjectName(QLatin1String(name));
    connect(b, &QPushButton::clicked, this, [this, action] {
        if (onAction) onAction(action);
    });
    m_buttons[action] = b;
    return b;
}

ScanPage::ScanPage(QWidget* parent) : QWidget(parent) {
    auto* v = new QVBoxLayout(this);
    m_heading = makeHeading(this, "scanHeading");
    v->addWidget(m_heading);

    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* buttons = new QHBoxLayout;
    QPushButton* start = button(Action::Start, "scanStart");
    start->setDefault(true);
    QFont big = start->font();
    big.setBold(true);
    start->setFont(big);
    start->setMinimumHeight(start->sizeHint().height() * 3 / 2);
    start->setMinimumWidth(start->sizeHint().width() * 3 / 2);
    buttons->addWidget(start);
    buttons->addWidget(button(Action::Pause, "scanPause"));
    buttons->addWidget(button(Action::Stop, "scanStop"));
    buttons->addStretch(1);
    left->addLayout(buttons);
    m_stage = new QLabel(this);
    m_stage->setObjectName(QStringLiteral("stageCaption"));
    m_stage->setTextFormat(Qt::PlainText);
    left->addWidget(m_stage);
    m_stageBar = new QProgressBar(this);
    m_stageBar->setObjectName(QStringLiteral("stageProgress"));
    m_stageBar->setTextVisible(false);
    m_stageBar->setMaximumHeight(m_stageBar->sizeHint().height() / 2);
    left->addWidget(m_stageBar);
    m_overallBar = new QProgressBar(this);
    m_overallBar->setObjectName(QStringLiteral("overallProgress"));
    left->addWidget(m_overallBar);
    m_statusLine = new ElidedLabel(this);
    m_statusLine->setObjectName(QStringLiteral("statusLine"));
    left->addWidget(m_statusLine);
    left->addStretch(1);
    top->addLayout(left, 3);

    // The scan mode and, for a complete scan, the drives it covers.
    auto* mode = new QVBoxLayout;
    m_complete = new QRadioButton(this);
    m_complete->setObjectName(QStringLiteral("completeScan"));
    m_quick = new QRadioButton(this);
    m_quick->setObjectName(QStringLiteral("quickScan"));
    auto* group = new QButtonGroup(this);
    group->addButton(m_complete);
    group->addButton(m_quick);
    connect(m_complete, &QRadioButton::clicked, this, [this] {
        if (onScanMode) onScanMode(ScanModeChoice::Complete);
    });
    connect(m_quick, &QRadioButton::clicked, this, [this] {
        if (onScanMode) onScanMode(ScanModeChoice::Quick);
    });
    mode->addWidget(m_complete);
    mode->addWidget(m_quick);
    m_driveCaption = new QLabel(this);
    mode->addWidget(m_driveCaption);
    m_drives = new QListWidget(this);
    m_drives->setObjectName(QStringLiteral("driveList"));
    m_drives->setMaximumHeight(m_drives->fontMetrics().height() * 6);
    m_driveCaption->setBuddy(m_drives);
    connect(m_drives, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (m_filling || !onDriveChecked) return;
        onDriveChecked(static_cast<size_t>(m_drives->row(item)), item->checkState() == Qt::Checked);
    });
    mode->addWidget(m_drives);
    mode->addStretch(1);
    top->addLayout(mode, 2);
    v->addLayout(top);

    // The counters in an aligned grid beside the found list.
    auto* bottom = new QHBoxLayout;
    auto* counters = new QGridLayout;
    for (size_t i = 0; i < std::size(kCounterIds); ++i) {
        auto* title = new QLabel(this);
        auto* value = new QLabel(this);
        value->setObjectName(QLatin1String(kCounterNames[i]));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("0,000,000")));
        counters->addWidget(title, static_cast<int>(i), 0);
        counters->addWidget(value, static_cast<int>(i), 1);
        m_counterTitles[kCounterIds[i]] = title;
        m_counters[kCounterIds[i]] = value;
    }
    counters->setRowStretch(static_cast<int>(std::size(kCounterIds)), 1);
    bottom->addLayout(counters, 2);
    auto* foundColumn = new QVBoxLayout;
    m_foundCaption = new QLabel(this);
    foundColumn->addWidget(m_foundCaption);
    m_found = new QListWidget(this);
    m_found->setObjectName(QStringLiteral("foundList"));
    m_found->setSelectionMode(QAbstractItemView::SingleSelection);
    m_foundCaption->setBuddy(m_found);
    foundColumn->addWidget(m_found, 1);
    bottom->addLayout(foundColumn, 3);
    v->addLayout(bottom, 1);

    auto* last = new QHBoxLayout;
    last->addStretch(1);
    last->addWidget(button(Action::Continue, "scanContinue"));
    v->addLayout(last);
    setTabOrder(m_complete, m_quick);
}

void ScanPage::setCaption(CaptionId id, const std::string& text) {
    const QString t = fromCodePage(text);
    switch (id) {
    case CaptionId::ScanFrame: m_heading->setText(withoutMnemonic(t)); return;
    case CaptionId::ScanStart: m_buttons[Action::Start]->setText(t); return;
    case CaptionId::ScanStartTooltip: m_buttons[Action::Start]->setToolTip(t); return;
    case CaptionId::ScanPause: m_buttons[Action::Pause]->setText(t); return;
    case CaptionId::ScanStop: m_buttons[Action::Stop]->setText(t); return;
    case CaptionId::ScanContinue: m_buttons[Action::Continue]->setText(t); return;
    case CaptionId::CompleteScanMode: m_complete->setText(t); return;
    case CaptionId::QuickScanMode: m_quick->setText(t); return;
    case CaptionId::DriveColumn: m_driveCaption->setText(t + QLatin1Char(':')); return;
    case CaptionId::FoundColumn: m_foundCaption->setText(t + QLatin1Char(':')); return;
    default:
        if (auto it = m_counterTitles.find(id); it != m_counterTitles.end()) it->second->setText(t);
        return;
    }
}

void ScanPage::showProgress(const ScanPageState& s) {
    m_stage->setText(fromCodePage(s.stageCaption));
    m_statusLine->setFullText(fromCodePage(s.statusLine));
    m_stageBar->setValue(s.stagePercent);
    m_overallBar->setValue(s.overallPercent);
    const std::string* values[] = {&s.memoryInspected, &s.registryInspected, &s.filesInspected,
                                   &s.softwareFound,   &s.traces,            &s.runningPrograms};
    for (size_t i = 0; i < std::size(kCounterIds); ++i) m_counters[kCounterIds[i]]->setText(fromCodePage(*values[i]));
}

void ScanPage::setControls(const ScanControls& c) {
    m_buttons[Action::Start]->setEnabled(c.startEnabled);
    m_buttons[Action::Pause]->setEnabled(c.pauseEnabled);
    m_buttons[Action::Stop]->setEnabled(c.stopEnabled);
    m_buttons[Action::Continue]->setVisible(c.continueVisible);
    // The mode cannot change under a running scan.
    m_complete->setEnabled(c.startEnabled);
    m_quick->setEnabled(c.startEnabled);
    m_drives->setEnabled(c.startEnabled);
}

void ScanPage::clearFound() { m_found->clear(); }

void ScanPage::addFound(const std::string& text, KindIcon icon) {
    auto* item = new QListWidgetItem(kindIcon(icon), fromCodePage(text), m_found);
    item->setToolTip(item->text());
    m_found->scrollToItem(item);
}

void ScanPage::showScanMode(ScanModeChoice mode, bool driveListVisible) {
    (mode == ScanModeChoice::Complete ? m_complete : m_quick)->setChecked(true);
    m_drives->setVisible(driveListVisible);
    m_driveCaption->setVisible(driveListVisible);
}

void ScanPage::showDrives(const std::vector<DriveRow>& drives) {
    m_filling = true;
    m_drives->clear();
    for (const DriveRow& d : drives) {
        auto* item = new QListWidgetItem(fromCodePage(d.letter + ":"), m_drives);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(d.checked ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
}

}  // namespace vedozer::qtui
