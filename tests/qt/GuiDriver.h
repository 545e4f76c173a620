#pragma once
#include <QAbstractButton>
#include <QApplication>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QMessageBox;

namespace vedozer::test {

// Drives the real windows as a person would: widgets by object name, clicks and keys through
// QTest, message boxes answered as they open.

// The widget of that name anywhere in the program's top-level windows; null when there is none.
template <class T = QWidget>
T* widget(const char* name) {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QLatin1String(name))
            if (T* t = qobject_cast<T*>(top)) return t;
        if (T* t = top->findChild<T*>(QLatin1String(name))) return t;
    }
    return nullptr;
}

// Clicks a button with the mouse; false when it is missing, hidden or disabled.
bool click(const char* name);
bool click(QAbstractButton* button);

// Waits, turning the event loop, until the condition holds; false after the time-out.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 20000);

// One message box that was answered: what it said.
struct AnsweredBox {
    bool answered = false;
    QString title, text;
};

// Answers the next message box that opens (a question or a notice) with the button of that
// standard kind, after `inspect` (if any) has looked at the program while the box is open.
std::shared_ptr<AnsweredBox> answerNextBox(int standardButton,
                                           std::function<void(QMessageBox*)> inspect = {});

// Runs `action` from the event loop as soon as the condition holds (checked every few
// milliseconds, also while long work turns the loop); the returned flag tells it ran.
std::shared_ptr<bool> whenReady(std::function<bool()> condition, std::function<void()> action);

}  // namespace vedozer::test
