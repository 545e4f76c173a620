#include "GuiDriver.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

namespace vedozer::test {

bool click(QAbstractButton* button) {
    if (!button || !button->isVisible() || !button->isEnabled()) return false;
    // A box or a round button that its layout stretches takes clicks on its mark and text only.
    QPoint at = button->rect().center();
    QStyleOptionButton option;
    option.initFrom(button);
    if (qobject_cast<QCheckBox*>(button))
        at = button->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, button).center();
    else if (qobject_cast<QRadioButton*>(button))
        at = button->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, button).center();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
    return true;
}

bool click(const char* name) { return click(widget<QAbstractButton>(name)); }

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) { return QTest::qWaitFor(condition, timeoutMs); }

std::shared_ptr<bool> whenReady(std::function<bool()> condition, std::function<void()> action) {
    auto done = std::make_shared<bool>(false);
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, done, condition = std::move(condition),
                                                       action = std::move(action)] {
        if (!condition()) return;
        timer->stop();
        timer->deleteLater();
        *done = true;
        action();
    });
    timer->start();
    return done;
}

std::shared_ptr<AnsweredBox> answerNextBox(int standardButton, std::function<void(QMessageBox*)> inspect) {
    auto box = std::make_shared<AnsweredBox>();
    whenReady([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; },
              [box, standardButton, inspect = std::move(inspect)] {
                  auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                  if (!m) return;
                  box->title = m->windowTitle();
                  box->text = m->text();
                  if (inspect) inspect(m);
                  QAbstractButton* b = m->button(static_cast<QMessageBox::StandardButton>(standardButton));
                  box->answered = b != nullptr;
                  if (b)
                      QTest::mouseClick(b, Qt::LeftButton);
                  else
                      m->reject();
              });
    return box;
}

}  // namespace vedozer::test
