#pragma once

#include <QStringView>

// The shipped known-word list (DIC/70000.txt), built into the program so that what a book's
// bytes are read as never depends on the user's copy of it. The list is read on first use
// only: most books never need it.
namespace knownwords {

struct Count
{
    qsizetype words = 0; // Russian words of two letters or more
    qsizetype known = 0; // those the list holds
};

// The 66 letters of the Russian alphabet, either case: what a word of the list is made of.
bool isRussianLetter(QChar c);

// Words are runs of Russian letters; case and the dots of "ё" are ignored.
Count count(QStringView text);

} // namespace knownwords
