#pragma once

#include <QPointer>
#include <QString>

class QMessageBox;

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
    // Says `text` without waiting: the caller goes on while it is shown. A job that lets
    // events through must never be held by a box nobody is there to close. One notice is
    // shown at a time; a new one takes the place of the one still shown.
    virtual void notice(const QString &text, Icon icon) = 0;

    // Shorthands for the common cases.
    void critical(const QString &text) { ask(text, Icon::Critical, Buttons::Ok); }
    void inform(const QString &text) { ask(text, Icon::Information, Buttons::Ok); }
    bool confirm(const QString &text, Icon icon = Icon::Question)
    {
        return ask(text, icon, Buttons::YesNo) == Answer::Yes;
    }
};

// Message boxes on screen: questions modal to the active window, notices not modal.
class QtPrompter : public Prompter
{
public:
    ~QtPrompter() override;
    Answer ask(const QString &text, Icon icon, Buttons buttons) override;
    void notice(const QString &text, Icon icon) override;
    // The answer of the box's button (a QMessageBox::StandardButton).
    static Answer answerFor(int standardButton);
    // The notice on screen; null once the user closed it.
    QMessageBox *shownNotice() const;

private:
    QPointer<QMessageBox> m_notice; // deletes itself when closed
};
