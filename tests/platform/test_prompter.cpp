// The real message boxes: the buttons become the program's answers; a notice does not wait.
#include "platform/services/prompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <tuple>

#include <gtest/gtest.h>

TEST(QtPrompter, EveryButtonGivesItsAnswer)
{
    const std::pair<QMessageBox::StandardButton, Prompter::Answer> cases[] = {
        {QMessageBox::Ok, Prompter::Answer::Ok},           {QMessageBox::Yes, Prompter::Answer::Yes},
        {QMessageBox::No, Prompter::Answer::No},           {QMessageBox::Cancel, Prompter::Answer::Cancel},
        {QMessageBox::NoButton, Prompter::Answer::Cancel},
    };
    for (const auto &[button, answer] : cases)
        EXPECT_EQ(QtPrompter::answerFor(button), answer) << button;
}

// A notice is one box on screen, not modal, that the caller does not wait for; a second takes
// the place of the first, and once closed the next comes up anew.
TEST(QtPrompter, NoticesShareOneBoxThatHoldsNobody)
{
    const auto shownBoxes = [] {
        int n = 0;
        for (const QWidget *w : QApplication::topLevelWidgets())
            n += qobject_cast<const QMessageBox *>(w) && w->isVisible();
        return n;
    };
    QtPrompter prompter;
    prompter.notice(QStringLiteral("Первый"), Prompter::Icon::Critical);
    const QPointer<QMessageBox> box = prompter.shownNotice();
    ASSERT_TRUE(box && box->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    prompter.notice(QStringLiteral("Второй"), Prompter::Icon::Information);
    EXPECT_EQ(prompter.shownNotice(), box.data());
    EXPECT_EQ(std::tuple(shownBoxes(), box->text(), box->icon()),
              std::tuple(1, QStringLiteral("Второй"), QMessageBox::Information));

    box->button(QMessageBox::Ok)->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(box.isNull() && !prompter.shownNotice()) << "closed boxes do not pile up";
    prompter.notice(QStringLiteral("Третий"), Prompter::Icon::Critical);
    ASSERT_TRUE(prompter.shownNotice() && prompter.shownNotice()->isVisible());
    EXPECT_EQ(shownBoxes(), 1);
}
