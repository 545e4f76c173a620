#include "GuiDriver.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace vedozer::test {

bool click(QAbstractButton* button) {
    if (!button || !button->isVisible() || !button->isEnabled()) return false;
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
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
