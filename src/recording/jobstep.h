#pragma once

#include <QObject>
#include <QString>

// A step of a recording that goes on while window events go on: speech into a file, an
// encoder's run, a block, a book. It ends once, through `finished`, always from the event loop
// and never inside the call that started or aborted it, so whoever started it has connected by
// then and a step aborted from deep inside another never unwinds through it.
class JobStep : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    bool ended() const { return m_ended; }
    // Once ended: whether the step did its work (a stopped one counts as done: StopFlag says
    // it stopped), and what the user must be told of a failure (empty for none, or for a
    // failure nobody need be told of, as at the program's exit).
    bool ok() const { return m_ok; }
    const QString &failure() const { return m_failure; }

signals:
    void finished();

protected:
    void end(bool ok, const QString &failure = {});

private:
    bool m_ended = false;
    bool m_ok = false;
    QString m_failure;
};
