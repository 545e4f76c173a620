#include "ui/qt/StatusPage.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt/QtText.h"
#include "ui/qt/Widgets.h"

namespace vedozer::qtui {

StatusPage::StatusPage(QWidget* parent) : QWidget(parent) {
    auto* v = new QVBoxLayout(this);
    m_heading = makeHeading(this, "statusHeading");
    v->addWidget(m_heading);
    m_welcome = makeWrappingLabel(this, "welcome");
    v->addWidget(m_welcome);
    v->addSpacing(8);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignLeft);
    auto value = [&](CaptionId title, const char* name) {
        auto* t = new QLabel(this);
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setTextFormat(Qt::PlainText);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_titles[title] = t;
        form->addRow(t, l);
        return l;
    };
    m_definitionCount = value(CaptionId::DefinitionCountTitle, "definitionCount");
    m_version = value(CaptionId::VersionTitle, "version");
    m_definitionDate = value(CaptionId::DefinitionDateTitle, "definitionDate");
    m_removedTotal = value(CaptionId::RemovedTotalTitle, "removedTotal");
    m_lastScan = value(CaptionId::LastScanTitle, "lastScan");
    m_lastCompleteScan = value(CaptionId::LastCompleteScanTitle, "lastCompleteScan");
    v->addLayout(form);
    v->addSpacing(12);

    auto* buttons = new QHBoxLayout;
    auto action = [&](StatusAction a, const char* name) {
        auto* b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        connect(b, &QPushButton::clicked, this, [this, a] {
            if (onAction) onAction(a);
        });
        m_actions[a] = b;
        buttons->addWidget(b);
        return b;
    };
    action(StatusAction::ScanNow, "statusScanNow")->setDefault(true);
    action(StatusAction::LiveUpdate, "statusLiveUpdate");
    action(StatusAction::ShowReport, "statusShowReport");
    buttons->addStretch(1);
    v->addLayout(buttons);
    v->addStretch(1);

    m_website = new QPushButton(this);
    m_website->setObjectName(QStringLiteral("website"));
    m_website->setFlat(true);
    m_website->setCursor(Qt::PointingHandCursor);
    QFont link = m_website->font();
    link.setUnderline(true);
    m_website->setFont(link);
    m_website->setForegroundRole(QPalette::Link);
    connect(m_website, &QPushButton::clicked, this, [this] {
        if (onWebsite) onWebsite();
    });
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_website);
    bottom->addStretch(1);
    v->addLayout(bottom);
}

void StatusPage::setCaption(CaptionId id, const std::string& text) {
    const QString t = fromCodePage(text);
    switch (id) {
    case CaptionId::StatusFrame: m_heading->setText(withoutMnemonic(t)); return;
    case CaptionId::StatusLiveUpdate: m_actions[StatusAction::LiveUpdate]->setText(t); return;
    case CaptionId::StatusScanNow: m_actions[StatusAction::ScanNow]->setText(t); return;
    case CaptionId::StatusShowReport: m_actions[StatusAction::ShowReport]->setText(t); return;
    default:
        if (auto it = m_titles.find(id); it != m_titles.end()) it->second->setText(t);
        return;
    }
}

void StatusPage::showStatus(const StatusPageState& s) {
    m_definitionCount->setText(fromCodePage(s.definitionCount));
    m_version->setText(fromCodePage(s.version));
    m_definitionDate->setText(fromCodePage(s.definitionDate));
    // A missing definition date is a warning: in the theme's colour for it, and in bold.
    QFont f = m_definitionDate->font();
    f.setBold(s.definitionsMissing);
    m_definitionDate->setFont(f);
    m_definitionDate->setForegroundRole(s.definitionsMissing ? QPalette::Highlight : QPalette::WindowText);
    m_removedTotal->setText(fromCodePage(s.removedTotal));
    m_lastScan->setText(fromCodePage(s.lastScan));
    m_lastCompleteScan->setText(fromCodePage(s.lastCompleteScan));
}

void StatusPage::setActionEnabled(StatusAction action, bool enabled) { m_actions[action]->setEnabled(enabled); }

void StatusPage::setWelcome(const QString& text) { m_welcome->setText(text); }

void StatusPage::setWebsiteCaption(const QString& text) { m_website->setText(text); }

}  // namespace vedozer::qtui
