#pragma once
#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include <string>

#include "app/presenters/DialogView.h"

namespace vedozer::qtui {

// The engine's questions and notices as standard message boxes centred on the main window, and
// the yield of long work as a turn of Qt's event loop.
class QtDialogs : public DialogView {
public:
    void setOwner(QWidget* owner) { m_owner = owner; }
    void setProgramName(const std::string& name) { m_programName = name; }

    Answer ask(const Question& question) override;
    void showNotice(const Notice& notice) override;
    // Runs what is waiting, at most every few milliseconds: a scan yields after every
    // definition, far more often than a window needs to repaint.
    void pumpEvents() override;

    // A test or the screenshot tool may look at each box before it opens (its object name is
    // "questionBox" or "noticeBox").
    int boxesShown() const { return m_boxes; }

private:
    QWidget* parent() const;

    QPointer<QWidget> m_owner;
    std::string m_programName;
    QElapsedTimer m_sincePump;
    int m_boxes = 0;
};

}  // namespace vedozer::qtui
