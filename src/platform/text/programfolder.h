#pragma once

#include <QString>

// The folder that holds DIC/, HELP/, BOOKMARK/ and end.wav.
namespace programfolder {

// $QUENVALE_HOME when set; else the executable's folder when it holds DIC/ and is
// writable; else the user's data folder, seeded on first use from the installed data/.
QString path();

// A file or folder inside the program folder, given as "DIC/exc_rus.txt"; each part
// is matched ignoring case, and the name as given is returned when nothing matches.
QString file(const QString &relative);

// Forgets the resolved folder (tests change QUENVALE_HOME between cases).
void reset();

} // namespace programfolder
