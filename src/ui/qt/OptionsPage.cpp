#include "ui/qt/OptionsPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/qt/QtText.h"
#include "ui/qt/Widgets.h"

namespace vedozer::qtui {

namespace {

using O = OptionControl;

struct ControlInfo {
    OptionControl control;
    CaptionId caption;
    const char* name;
    bool radio;
};
constexpr ControlInfo kControls[] = {
    {O::WriteReport, CaptionId::WriteReportOption, "optionWriteReport", false},
    {O::ScanMemory, CaptionId::ScanMemoryOption, "optionScanMemory", false},
    {O::ScanRegistry, CaptionId::ScanRegistryOption, "optionScanRegistry", false},
    {O::ScanCookies, CaptionId::ScanCookiesOption, "optionScanCookies", false},
    {O::SendData, CaptionId::SendDataOption, "optionSendData", false},
    {O::RunAtStartup, CaptionId::RunAtStartupOption, "optionRunAtStartup", false},
    {O::AutomaticUpdate, CaptionId::AutomaticUpdateOption, "optionAutomaticUpdate", false},
    {O::ScheduledScan, CaptionId::ScheduledScanOption, "optionScheduledScan", false},
    {O::AutoDelete, CaptionId::AutoDeleteOption, "optionAutoDelete", false},
    {O::MemoryShieldOn, CaptionId::MemoryShieldOnOption, "optionMemoryShieldOn", true},
    {O::MemoryShieldOff, CaptionId::MemoryShieldOffOption, "optionMemoryShieldOff", true},
    {O::MemoryShieldCheck, CaptionId::MemoryShieldCheck, "optionMemoryShieldCheck", false},
    {O::HomePageShieldOn, CaptionId::HomePageShieldOnOption, "optionHomePageShieldOn", true},
    {O::HomePageShieldOff, CaptionId::HomePageShieldOffOption, "optionHomePageShieldOff", true},
    {O::HomePageShieldCheck, CaptionId::HomePageShieldCheck, "optionHomePageShieldCheck", false},
    {O::HomePageAsk, CaptionId::HomePageAskOption, "optionHomePageAsk", true},
    {O::HomePageSilent, CaptionId::HomePageSilentOption, "optionHomePageSilent", true},
};

}  // namespace

OptionsPage::OptionsPage(QWidget* parent) : QWidget(parent) {
    auto* v = new QVBoxLayout(this);
    m_heading = makeHeading(this, "optionsHeading");
    v->addWidget(m_heading);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("optionsTabs"));
    v->addWidget(m_tabs, 1);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (!m_switching && onTab) onTab(index);
    });

    for (const ControlInfo& info : kControls) {
        QAbstractButton* b = info.radio ? static_cast<QAbstractButton*>(new QRadioButton(this)) : new QCheckBox(this);
        b->setObjectName(QLatin1String(info.name));
        // Clicks only: the presenter's own changes must not come back as the person's.
        connect(b, &QAbstractButton::clicked, this, [this, c = info.control](bool checked) {
            if (onOption) onOption(c, checked);
        });
        m_controls[info.control] = b;
    }
    // Option pairs are exclusive within their pair only.
    for (auto [a, b] : {std::pair{O::MemoryShieldOn, O::MemoryShieldOff}, std::pair{O::HomePageShieldOn, O::HomePageShieldOff},
                        std::pair{O::HomePageAsk, O::HomePageSilent}}) {
        auto* group = new QButtonGroup(this);
        group->addButton(control(a));
        group->addButton(control(b));
    }

    auto page = [&]() {
        auto* w = new QWidget(m_tabs);
        auto* layout = new QVBoxLayout(w);
        m_tabs->addTab(w, QString());
        return layout;
    };
    auto group = [&](QVBoxLayout* into, CaptionId caption, const char* name) {
        auto* g = new QGroupBox(into->parentWidget());
        g->setObjectName(QLatin1String(name));
        m_groups[caption] = g;
        into->addWidget(g);
        return g;
    };
    auto note = [&](QVBoxLayout* into) {
        QLabel* n = makeWrappingLabel(into->parentWidget(), "");
        n->setObjectName(QStringLiteral("protectionNote%1").arg(m_notes.size() + 1));
        n->setVisible(false);
        m_notes.push_back(n);
        into->addWidget(n);
    };

    QVBoxLayout* scanning = page();
    auto* scanGroup = new QVBoxLayout(group(scanning, CaptionId::ScanOptionsFrame, "scanOptionsGroup"));
    for (O c : {O::ScanCookies, O::ScanMemory, O::ScanRegistry, O::WriteReport}) scanGroup->addWidget(control(c));
    scanning->addStretch(1);

    QVBoxLayout* protection = page();
    auto* memory = new QGridLayout(group(protection, CaptionId::MemoryShieldFrame, "memoryShieldGroup"));
    memory->addWidget(control(O::MemoryShieldOn), 0, 0);
    memory->addWidget(control(O::MemoryShieldOff), 0, 1);
    memory->addWidget(control(O::MemoryShieldCheck), 0, 2);
    auto* home = new QGridLayout(group(protection, CaptionId::HomePageShieldFrame, "homePageShieldGroup"));
    home->addWidget(control(O::HomePageShieldOn), 0, 0);
    home->addWidget(control(O::HomePageShieldOff), 0, 1);
    home->addWidget(control(O::HomePageShieldCheck), 0, 2);
    home->addWidget(control(O::HomePageAsk), 1, 0, 1, 3);
    home->addWidget(control(O::HomePageSilent), 2, 0, 1, 3);
    note(protection);
    protection->addStretch(1);

    QVBoxLayout* schedule = page();
    auto* scheduleGroup = new QVBoxLayout(group(schedule, CaptionId::ScheduleFrame, "scheduleGroup"));
    scheduleGroup->addWidget(control(O::ScheduledScan));
    scheduleGroup->addWidget(control(O::AutoDelete));
    note(schedule);
    schedule->addStretch(1);

    QVBoxLayout* general = page();
    for (O c : {O::RunAtStartup, O::AutomaticUpdate, O::SendData}) general->addWidget(control(c));
    note(general);
    general->addStretch(1);
}

void OptionsPage::setCaption(CaptionId id, const std::string& text) {
    const QString t = fromCodePage(text);
    switch (id) {
    case CaptionId::OptionsFrame: m_heading->setText(withoutMnemonic(t)); return;
    case CaptionId::OptionsTabScanning: m_tabs->setTabText(0, t); return;
    case CaptionId::OptionsTabProtection: m_tabs->setTabText(1, t); return;
    case CaptionId::OptionsTabSchedule: m_tabs->setTabText(2, t); return;
    case CaptionId::OptionsTabGeneral: m_tabs->setTabText(3, t); return;
    case CaptionId::ProtectionNotHere:
        for (QLabel* n : m_notes) n->setText(t);
        return;
    default: break;
    }
    if (auto g = m_groups.find(id); g != m_groups.end()) {
        g->second->setTitle(t);
        return;
    }
    for (const ControlInfo& info : kControls)
        if (info.caption == id) control(info.control)->setText(t);
}

void OptionsPage::setOption(OptionControl c, bool checked) { control(c)->setChecked(checked); }

void OptionsPage::setOptionEnabled(OptionControl c, bool enabled) { control(c)->setEnabled(enabled); }

void OptionsPage::setOptionVisible(OptionControl c, bool visible) {
    control(c)->setVisible(visible);
    hideEmptyGroups();
}

void OptionsPage::hideEmptyGroups() {
    for (auto& [caption, group] : m_groups) {
        bool any = false;
        for (QAbstractButton* b : group->findChildren<QAbstractButton*>()) any = any || !b->isHidden();
        group->setVisible(any);
    }
}

void OptionsPage::showProtectionNote(bool visible) {
    for (QLabel* n : m_notes) n->setVisible(visible);
}

void OptionsPage::setScheduleControlsEnabled(bool) {
    // The day, date and time of scheduled scans belong to the scheduler, which watches a running
    // Windows system; this front end has no such controls.
}

void OptionsPage::showTab(int index) {
    m_switching = true;
    m_tabs->setCurrentIndex(index);
    m_switching = false;
}

}  // namespace vedozer::qtui
