#pragma once

#include <QString>
#include <QStringView>

// How the dictionary tools cut a text into words and compare them with the lists. The new-word
// finder, the homograph search and the homograph marking share it, so a word one of them sees
// is the word the others see.
namespace words {

// Whether the character at `i` belongs to a word: letters, digits, marks, soft hyphens (U+00AD,
// invisible breaks e-books put inside words), the program's stress marks ("<" or ">" right after
// a Russian vowel, "за<мок", "мою<"; a "<" opening a tag, "вода</p>", is none), a hyphen between
// two of those ("кто-то"; a hyphen used as a dash, "-Где?", is not), and an apostrophe between
// two letters ("д'Артаньян"). Anything else (blanks, line ends, quotes, brackets, "<" and ">"
// as tags, dashes, punctuation) and the ends of the text bound a word.
bool inWord(QStringView text, qsizetype i);

// The word as written, without its soft hyphens: what the finder lists.
QString spelling(const QString &word);
// The word as the lists are compared with: its spelling without combining stress accents
// (U+0301, U+0300), which a text may carry and a list never does.
QString plain(const QString &word);
// The plain word case-folded: the word looked up with case ignored.
QString folded(const QString &word);
// Whether `word` is `row` (a plain word), case ignored.
bool matches(QStringView word, QStringView row);

// Calls `found(start, end)` for each word of `text`, in text order (`end` is one past it).
// Soft hyphens at a word's edge are left out; a run of them alone is no word.
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
        qsizetype start = p, last = end;
        p = end;
        while (start < last && text[start] == u'\u00AD')
            ++start;
        while (last > start && text[last - 1] == u'\u00AD')
            --last;
        if (start < last)
            found(start, last);
    }
}

} // namespace words
