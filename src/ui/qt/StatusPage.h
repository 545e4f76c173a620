#pragma once
#include <QWidget>

#include <functional>
#include <map>

#include "app/presenters/StatusPageView.h"

class QLabel;
class QPushButton;
class QCommandLinkButton;

namespace vedozer::qtui {

// The status page. Object names: statusHeading, definitionCount, version, definitionDate,
// removedTotal, lastScan, lastCompleteScan; statusScanNow, statusLiveUpdate, statusShowReport,
// website.
class StatusPage : public QWidget, public StatusPageView {
public:
    explicit StatusPage(QWidget* parent = nullptr);

    std::function<void(StatusAction)> onAction;
    std::function<void()> onWebsite;

    void setCaption(CaptionId id, const std::string& text) override;
    void showStatus(const StatusPageState& state) override;
    void setActionEnabled(StatusAction action, bool enabled) override;

    // Captions the main window's presenter hands out for this page (welcome, website).
    void setWelcome(const QString& text);
    void setWebsiteCaption(const QString& text);

private:
    QLabel* m_heading;
    QLabel* m_welcome;
    std::map<CaptionId, QLabel*> m_titles;
    QLabel* m_definitionCount;
    QLabel* m_version;
    QLabel* m_definitionDate;
    QLabel* m_removedTotal;
    QLabel* m_lastScan;
    QLabel* m_lastCompleteScan;
    std::map<StatusAction, QPushButton*> m_actions;
    QPushButton* m_website;
};

}  // namespace vedozer::qtui
