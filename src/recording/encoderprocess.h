#pragma once

#include "recording/encoders.h"
#include "recording/jobstep.h"

#include <QString>

#include <chrono>
#include <functional>

class QProcess;

// Runs the outside encoders, one at a time, on the window thread.
namespace encoderprocess {

// The program to run for `name`: from the program folder when it is there, else from
// PATH; empty when neither has it.
QString locate(const QString &name);

// An encoder's output without the terminal's control sequences (lame's "ESC[K" and
// "ESC[A") or other control characters but tab and line ends. Output comes in pieces cut
// anywhere, so a sequence cut at the end of one piece is held back for the next.
class TerminalFilter
{
public:
    QString feed(const QString &piece);

private:
    QString m_held;
};

// An encoder's error line as the user is shown it: the last line that says something, of the
// error output or else of the normal output, without the progress figures lame writes before
// it, one or many ("128.0 100.0 34.5 21.1 44.4Error writing mp3 output", "0.0     Error ...").
QString errorLine(const QString &errors, const QString &output);

// One step run on the window thread: it starts at once and ends with the encoder's exit (the
// window and any dialog stay usable meanwhile). The output goes to a temporary name that
// becomes the final one only when the encoder exited with 0 and left a non-empty file.
// `echo` receives the command line, then the encoder's output as it comes. failure() says why
// it failed: the encoder's error line, with the cause when its output folder has no space left.
class Run : public JobStep
{
    Q_OBJECT
public:
    Run(const encoders::Step &step, std::function<void(const QString &)> echo, QObject *parent);
    // An encoder still running is ended and its partial output removed.
    ~Run() override;

    // The encoder the step names ("lame").
    const QString &program() const { return m_step.program; }
    // Ended by abort(): the program is exiting, or a stop outlasted its grace.
    bool aborted() const { return m_aborted; }
    // Ends the encoder at once and removes its partial output.
    void abort();
    // The user's stop: the encoder may finish its block within `grace`, else it is aborted.
    void stopAfter(std::chrono::milliseconds grace);

private:
    void say(const QString &text);
    void exited();
    void fail(QString why);

    encoders::Step m_step;
    std::function<void(const QString &)> m_echo;
    QString m_partial;
    QProcess *m_process = nullptr;
    QString m_output;
    QString m_errors;
    TerminalFilter m_outputFilter;
    TerminalFilter m_errorFilter;
    bool m_aborted = false;
};

// Puts the file made under a temporary name in place of `final`, over any file of that
// name. False, with the system's reason in `error`, when it cannot.
bool putInPlace(const QString &made, const QString &final, QString *error = nullptr);

// True while an encoder runs.
bool running();

// Ends the running encoder, if any, and removes its partial output.
void abortRunning();

// How long a stop lets the running encoder finish its block.
inline constexpr std::chrono::milliseconds kStopGrace{3000};
// The user's stop: the running encoder, if any, is aborted unless it ends within kStopGrace.
void stopRunning();

} // namespace encoderprocess
