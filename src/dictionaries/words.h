#pragma once

#include <QStringView>

// How the dictionary tools cut a text into words. The new-word finder, the homograph search
// and the homograph marking share it, so a word one of them sees is the word the others see.
namespace words {

// Whether the character at `i` belongs to a word: letters, digits, stress marks, and a
// hyphen between two of those ("кто-то"; a hyphen used as a dash, "-Где?", does not).
// Anything else (blanks, line ends, quotes, brackets, dashes, punctuation) and the ends of
// the text bound a word.
bool inWord(QStringView text, qsizetype i);

// Calls `found(start, end)` for each word of `text`, in text order (`end` is one past it).
template <typename F> void forEach(QStringView text, F &&found)
{
    const qsizetype n = text.size();
    for (qsizetype p = 0; p < n;) {
        if (!inWord(text, p)) {
            ++p;
            continue;
        }
        qsizetype end = p + 1;
        while (end < n && inWord(text, end))
            ++end;
        found(p, end);
        p = end;
    }
}

} // namespace words
