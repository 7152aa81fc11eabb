#pragma once

#include <QWidget>

class RichTextBox;

// The help window: one page of the program folder's HELP folder at a time, shared by
// every window that offers help. Closing it destroys it with its page.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Loads the page; a missing or unreadable page shows a short notice instead.
    void showPage(const QString &page);

    RichTextBox *RichTextBox1 = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;
};

// The default instance, created on first use; nullptr after it was closed.
HelpWindow &Help1();
bool helpWindowExists();

// Shows `page` ("Help9.rtf") in the help window and brings it forward.
void showHelpPage(const QString &page);

// The about box's text: the program, its version, the speech engine and the encoders.
QString aboutText();
