#pragma once

#include "recording/encoders.h"

#include <QString>

#include <functional>

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

struct Result
{
    bool ok = false;
    bool aborted = false; // ended by abortRunning(): the program is exiting
    QString error;        // why it failed: the encoder's last error line when it printed one
};

// Runs one step and waits for its end, letting window events through meanwhile. The
// output goes to a temporary name and is renamed to the final one only when the encoder
// exited with 0 and left a non-empty file. `echo` receives the command line, then the
// encoder's output as it comes.
Result run(const encoders::Step &step, const std::function<void(const QString &)> &echo = {});

// Puts the file made under a temporary name in place of `final`, over any file of that
// name. False, with the system's reason in `error`, when it cannot.
bool putInPlace(const QString &made, const QString &final, QString *error = nullptr);

// True while run() waits for an encoder.
bool running();

// Ends the encoder run() waits for, if any, and removes its partial output.
void abortRunning();

} // namespace encoderprocess
