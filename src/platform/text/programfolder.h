#pragma once

#include <QString>
#include <QStringList>

// The folder that holds DIC/, HELP/, BOOKMARK/ and end.wav.
namespace programfolder {

// $QUENVALE_HOME when set; else the executable's folder when it holds DIC/ and is
// writable; else the user's data folder. Whichever it is, the shipped files it lacks are
// copied in from the installed data on first use.
QString path();

// A file or folder inside the program folder, given as "DIC/exc_rus.txt"; each part
// is matched ignoring case, and the name as given is returned when nothing matches.
QString file(const QString &relative);

// An outside program to start for `name` (an encoder, catdoc): from the program folder when it
// is there, else from PATH; empty when neither has it.
QString program(const QString &name);

// Copies every shipped file (DIC/, HELP/, ENGINE/, end.wav) of `from` that `to` lacks,
// keeping the user's own files. Returns what could not be copied, "<file>: <reason>" each.
QStringList copyMissing(const QString &from, const QString &to);

// What went wrong while the folder was made ready ("<file>: <reason>" each): a shipped file
// that could not be copied into it. Empty when all is well.
QStringList setupProblems();

// Forgets the resolved folder (tests change QUENVALE_HOME between cases).
void reset();

} // namespace programfolder
