#include "ui/qt/QtDialogs.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

#include "ui/qt/QtText.h"

namespace vedozer::qtui {

namespace {

struct ButtonAnswer {
    QMessageBox::StandardButton button;
    Answer answer;
};

std::vector<ButtonAnswer> buttonsOf(Buttons buttons) {
    using B = QMessageBox;
    switch (buttons) {
    case Buttons::Ok: return {{B::Ok, Answer::Ok}};
    case Buttons::OkCancel: return {{B::Ok, Answer::Ok}, {B::Cancel, Answer::Cancel}};
    case Buttons::AbortRetryIgnore: return {{B::Abort, Answer::Abort}, {B::Retry, Answer::Retry}, {B::Ignore, Answer::Ignore}};
    case Buttons::YesNoCancel: return {{B::Yes, Answer::Yes}, {B::No, Answer::No}, {B::Cancel, Answer::Cancel}};
    case Buttons::YesNo: return {{B::Yes, Answer::Yes}, {B::No, Answer::No}};
    case Buttons::RetryCancel: return {{B::Retry, Answer::Retry}, {B::Cancel, Answer::Cancel}};
    }
    return {{B::Ok, Answer::Ok}};
}

QMessageBox::Icon iconOf(QuestionIcon icon) {
    switch (icon) {
    case QuestionIcon::None: return QMessageBox::NoIcon;
    case QuestionIcon::Critical: return QMessageBox::Critical;
    case QuestionIcon::Question: return QMessageBox::Question;
    case QuestionIcon::Exclamation: return QMessageBox::Warning;
    case QuestionIcon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QWidget* QtDialogs::parent() const { return m_owner && m_owner->isVisible() ? m_owner.data() : nullptr; }

Answer QtDialogs::ask(const Question& question) {
    QMessageBox box(iconOf(question.icon), fromCodePage(question.title.empty() ? m_programName : question.title),
                    fromCodePage(question.text), QMessageBox::NoButton, parent());
    box.setObjectName(QStringLiteral("questionBox"));
    const Answer safe = safeAnswer(question.buttons);
    std::vector<ButtonAnswer> buttons = buttonsOf(question.buttons);
    for (const ButtonAnswer& b : buttons) {
        QPushButton* button = box.addButton(b.button);
        // Enter takes the choice that changes nothing; so do Esc and closing the box.
        if (b.answer == safe) {
            box.setDefaultButton(button);
            box.setEscapeButton(button);
        }
    }
    ++m_boxes;
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (const ButtonAnswer& b : buttons)
        if (clicked && box.standardButton(clicked) == b.button) return b.answer;
    return safe;
}

void QtDialogs::showNotice(const Notice& notice) {
    QMessageBox::Icon icon = notice.kind == NoticeKind::Error     ? QMessageBox::Critical
                             : notice.kind == NoticeKind::Warning ? QMessageBox::Warning
                                                                  : QMessageBox::Information;
    QMessageBox box(icon, fromCodePage(m_programName), fromCodePage(notice.text), QMessageBox::Ok, parent());
    box.setObjectName(QStringLiteral("noticeBox"));
    ++m_boxes;
    box.exec();
}

void QtDialogs::pumpEvents() {
    if (m_sincePump.isValid() && m_sincePump.elapsed() < 15) return;
    m_sincePump.start();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace vedozer::qtui
