#pragma once

#include <QString>
#include <QStringList>

// The folder that holds DIC/, HELP/, BOOKMARK/ and end.wav.
namespace programfolder {

// $QUENVALE_HOME when set; else the executable's folder when it holds DIC/ and is
// writable; else the user's data folder. Whichever it is, it is brought up to the installed
// shipped files on first use (see updateShipped), once at a time across programs.
QString path();

// A file or folder inside the program folder, given as "DIC/exc_rus.txt"; each part
// is matched ignoring case, and the name as given is returned when nothing matches.
QString file(const QString &relative);

// An outside program to start for `name` (an encoder, catdoc): from the program folder when it
// is there, else from PATH; empty when neither has it.
QString program(const QString &name);

// What bringing a program folder up to the installed files did that the user must hear of.
struct ShippedUpdate
{
    QStringList failures;  // "<file>: <reason>" each
    QStringList newBeside; // installed versions written beside copies the user changed
};

// Brings the shipped files (DIC/, HELP/, ENGINE/, end.wav) of `to` up to those of `from`. A
// missing file is copied; a copy the user has not changed follows the installed version; one
// the user changed is kept, and a newer installed version is written beside it as
// "<name>.new", once per version. What was copied is recorded in `to` (name and checksum); in a
// folder filled before that record was kept, a copy equal to an earlier shipped version, listed
// in `from`'s "earlier.sha256", counts as unchanged.
ShippedUpdate updateShipped(const QString &from, const QString &to);

// What went wrong while the folder was made ready ("<file>: <reason>" each): a shipped file
// that could not be copied into it. Empty when all is well.
QStringList setupProblems();

// The installed versions written beside the user's changed copies while the folder was made
// ready, as full paths. Empty at every later start.
QStringList newShippedVersions();

// Forgets the resolved folder (tests change QUENVALE_HOME between cases).
void reset();

} // namespace programfolder
