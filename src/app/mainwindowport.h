#pragma once

#include "app/mainpanels.h"

class QWidget;
class QString;
class RichTextBox;

// What other windows call on the main window. The main window registers itself here
// when it is created, so the settings and recording code reach it without depending on
// its library (the main window depends on theirs).
class MainWindowPort
{
public:
    virtual ~MainWindowPort() = default;

    virtual QWidget &window() = 0;
    virtual void SetStatusBar() = 0;
    virtual void Dlitelnost() = 0;
    // Writes one panel (1-based) of the main status bar.
    virtual void setStatusPanel(int panel, const QString &text) = 0;
    // Applies the stored font name, size and background colour to the editor.
    virtual bool applyTextView() = 0;
    // The main toolbar: switched off while the user looks at the main window during a
    // recording, back on when the recording stops.
    virtual void setToolbarEnabled(bool enabled) = 0;
    // Silences the reading-aloud voice and releases it.
    virtual void stopVoice() = 0;
    // Ends the program at once: no question, no other window's close handler.
    virtual void endProgram() = 0;
    // Shows a page of the program folder's HELP folder ("Help9.rtf") in the help window.
    virtual void showHelp(const QString &page) = 0;
    // The editor's look, chosen from the settings window too: font, background colour,
    // and no, normal or large left margin.
    virtual void SelFont() = 0;
    virtual void FonColor_Click() = 0;
    virtual void onstup0_Click() = 0;
    virtual void otstup1_Click() = 0;
    virtual void otstup2_Click() = 0;
    // Normalises a text just opened into the main text, with the progress panel; the result
    // still counts as the opened file (no change of the user's to save).
    virtual void PreFormat() = 0;
    // Opens the book at `path` as "Открыть" does: a text, or an e-book read into a new text
    // titled after the book; a file that is refused or cannot be read is told of and changes
    // nothing (false).
    virtual bool openBook(const QString &path) = 0;
    // The main text, MP3.RichTextBox2.
    virtual RichTextBox *editor() = 0;
    // The progress panel and the new-word finder's option panel.
    virtual MainPanels mainPanels() = 0;
};

namespace mainwindowport {
// The main window, or nullptr before it exists.
MainWindowPort *get();
void set(MainWindowPort *port);
// Shows a page of the help folder in the main window's help window; nothing before the main
// window exists.
void showHelp(const QString &page);
} // namespace mainwindowport
