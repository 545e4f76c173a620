#pragma once
#include <QDialog>

#include <functional>

#include "app/presenters/WindowViews.h"

class QDialogButtonBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace vedozer::qtui {

// The items a removal could not delete. Object names: undeletableWindow, undeletableList,
// undeletableCopyList, undeletableOk.
class UndeletableWindow : public QDialog, public UndeletableView {
public:
    explicit UndeletableWindow(QWidget* owner);

    std::function<void()> onOk;
    std::function<void()> onCopyList;

    void setCaption(CaptionId id, const std::string& text) override;
    void showItems(const std::vector<std::string>& locations) override;
    void show() override;
    void hide() override { QDialog::hide(); }
    void setClipboardText(const std::string& text) override;

protected:
    void reject() override;  // Esc and the window's close button are Ok

private:
    QLabel* m_text1;
    QLabel* m_text2;
    QListWidget* m_list;
    QPushButton* m_ok;
    QPushButton* m_copy;
};

}  // namespace vedozer::qtui
