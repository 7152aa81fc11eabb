#pragma once

#include <QString>

// Message boxes. Every box carries the application title "Quenvale".
class Prompter
{
public:
    enum class Icon
    {
        None,
        Critical,
        Question,
        Exclamation,
        Information
    };
    enum class Buttons
    {
        Ok,
        OkCancel,
        YesNo,
        YesNoCancel
    };
    enum class Answer
    {
        Ok,
        Cancel,
        Yes,
        No
    };

    virtual ~Prompter() = default;
    virtual Answer ask(const QString &text, Icon icon, Buttons buttons) = 0;

    // Shorthands for the common cases.
    void critical(const QString &text) { ask(text, Icon::Critical, Buttons::Ok); }
    void inform(const QString &text) { ask(text, Icon::Information, Buttons::Ok); }
    bool confirm(const QString &text, Icon icon = Icon::Question)
    {
        return ask(text, icon, Buttons::YesNo) == Answer::Yes;
    }
};

// Message boxes on screen, modal to the active window.
class QtPrompter : public Prompter
{
public:
    Answer ask(const QString &text, Icon icon, Buttons buttons) override;
    // The answer of the box's button (a QMessageBox::StandardButton).
    static Answer answerFor(int standardButton);
};
