#pragma once
#include <QWidget>

#include <functional>
#include <map>

#include "app/presenters/OptionsPageView.h"

class QAbstractButton;
class QGroupBox;
class QLabel;
class QTabWidget;

namespace vedozer::qtui {

// The options page: four tabs of check boxes and option-button pairs. Object names: optionsTabs,
// option<Control> for each control ("optionScanCookies", "optionMemoryShieldOn" ...), and
// protectionNote<n> for the note on the tabs whose options this system does not have.
class OptionsPage : public QWidget, public OptionsPageView {
public:
    explicit OptionsPage(QWidget* parent = nullptr);

    std::function<void(OptionControl, bool checked)> onOption;
    std::function<void(int tab)> onTab;

    void setCaption(CaptionId id, const std::string& text) override;
    void setOption(OptionControl control, bool checked) override;
    void setOptionEnabled(OptionControl control, bool enabled) override;
    void setOptionVisible(OptionControl control, bool visible) override;
    void showProtectionNote(bool visible) override;
    void setScheduleControlsEnabled(bool enabled) override;
    void showTab(int index) override;

private:
    QAbstractButton* control(OptionControl c) const { return m_controls.at(c); }
    void hideEmptyGroups();

    QLabel* m_heading;
    QTabWidget* m_tabs;
    std::map<OptionControl, QAbstractButton*> m_controls;
    std::map<CaptionId, QGroupBox*> m_groups;
    std::vector<QLabel*> m_notes;
    bool m_switching = false;
};

}  // namespace vedozer::qtui
