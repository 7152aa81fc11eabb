// The real message box's buttons become the program's answers; an OK in an OK/Cancel box is OK.
#include "platform/services/prompter.h"

#include <QMessageBox>

#include <gtest/gtest.h>

TEST(QtPrompter, EveryButtonGivesItsAnswer)
{
    const std::pair<QMessageBox::StandardButton, Prompter::Answer> cases[] = {
        {QMessageBox::Ok, Prompter::Answer::Ok},         {QMessageBox::Yes, Prompter::Answer::Yes},
        {QMessageBox::No, Prompter::Answer::No},         {QMessageBox::Cancel, Prompter::Answer::Cancel},
        {QMessageBox::NoButton, Prompter::Answer::Cancel},
    };
    for (const auto &[button, answer] : cases)
        EXPECT_EQ(QtPrompter::answerFor(button), answer) << button;
}
