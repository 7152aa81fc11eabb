#pragma once

#include "app/busy.h"

#include <QElapsedTimer>
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

// Marks a window busy and its long operation running as `job`, which decides what the
// operation holds back meanwhile (the editor's lock among it).
class BusyScope
{
public:
    BusyScope(bool &busy, busy::Job job);
    ~BusyScope();
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    bool &m_busy;
    busy::JobScope m_job;
};

} // namespace texttools
