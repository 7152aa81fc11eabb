#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

class RichTextBox;

// What the text tool windows share while they work on the main text.
namespace texttools {

// The main editor, or nullptr while there is no main window.
RichTextBox *mainEditor();

// Lets pending events through during a long operation, at most every `intervalMs`, so
// the window stays responsive without the operation spending its time repainting. The
// first call always lets them through.
class EventPump
{
public:
    explicit EventPump(int intervalMs = 50);
    void maybe();
    void now();

private:
    QElapsedTimer m_clock;
    int m_interval;
};

// Marks a window busy and keeps the editor read-only while a long operation runs; the
// editor's former state comes back at the end.
class BusyScope
{
public:
    BusyScope(bool &busy, RichTextBox *editor);
    ~BusyScope();
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    bool &m_busy;
    QPointer<RichTextBox> m_editor;
    bool m_wasLocked = false;
};

} // namespace texttools
