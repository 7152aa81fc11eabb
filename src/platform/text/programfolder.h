#pragma once

#include <QString>
#include <QStringList>

// The folder that holds DIC/, HELP/, BOOKMARK/ and end.wav.
namespace programfolder {

// $QUENVALE_HOME when set; else the executable's folder when it holds DIC/ and is
// writable; else the user's data folder, seeded on first use from the installed data/.
QString path();

// A file or folder inside the program folder, given as "DIC/exc_rus.txt"; each part
// is matched ignoring case, and the name as given is returned when nothing matches.
QString file(const QString &relative);

// Copies every file of `from` that `to` lacks (the shipped data into a fresh user folder),
// keeping the user's own files. Returns what could not be copied, "<file>: <reason>" each.
QStringList copyMissing(const QString &from, const QString &to);

// What went wrong while the folder was made ready ("<file>: <reason>" each): a shipped file
// that could not be copied into a fresh user folder. Empty when all is well.
QStringList setupProblems();

// Forgets the resolved folder (tests change QUENVALE_HOME between cases).
void reset();

} // namespace programfolder
