#pragma once

#include <QString>
#include <QStringView>

// What a word of a book is, for every part of the program that looks at words: the speech
// layer finds its stress marks here, and the new-word finder, the homograph search and the
// homograph marking cut words and compare them with the lists here, so a word one of them
// sees is the word the others see.
namespace words {

// Whether text[i] is the program's stress mark: "<" or ">" right after a Russian vowel
// ("за<мок", "мою<", "Ё>ж"), unless the "<" opens a tag ("руки</p>", "дома<br>").
bool isStressMark(QStringView text, qsizetype i);

// Whether text[i] is "<" opening a tag: followed by "/", "!", "?" or a Latin letter.
bool opensTag(QStringView text, qsizetype i);

// The apostrophes a text may write inside a word ("д'Артаньян"): ', ’, ‘, `, ′ and ʼ.
bool isApostrophe(QChar c);

// Whether the character at `i` belongs to a word: letters, digits, marks, soft hyphens (U+00AD,
// invisible breaks e-books put inside words), the stress marks, a hyphen between two of those
// ("кто-то"; a hyphen used as a dash, "-Где?", is not), and an apostrophe between two letters
// ("д‘Артаньян"). Anything else (blanks, line ends, quotes, brackets, tags, dashes,
// punctuation) and the ends of the text bound a word.
bool inWord(QStringView text, qsizetype i);

// The word as written, without its soft hyphens and with letters written as a letter plus a
// combining mark composed ("мои\u0306" is "мой"): what the finder lists.
QString spelling(const QString &word);
// The word as the lists are compared with: its spelling without combining stress accents
// (U+0301, U+0300), which a text may carry and a list never does, and with each apostrophe
// written as '.
QString plain(const QString &word);
// The plain word case-folded: the word looked up with case ignored.
QString folded(const QString &word);
// folded() written into `key`, whose buffer is reused: every word of a book passes here, and
// one of ASCII and Russian letters alone needs no new string.
void foldInto(QString &key, QStringView word);
// Whether `word` is `row` (a plain word), case ignored.
bool matches(QStringView word, QStringView row);

// The length of `word` without a particle after a hyphen (-то, -ка, -либо, -нибудь, -таки,
// -де): "замок-то" is "замок" to the lists. The whole length when it has none.
qsizetype withoutParticle(QStringView word);

// Calls `found(start, end)` for each word of `text`, in text order (`end` is one past it).
// Soft hyphens and hyphens at a word's edge are left out; a run of them alone is no word.
// A tag, from its "<" to its ">", holds no word.
template <typename F> void forEach(QStringView text, F &&found)
{
    const qsizetype n = text.size();
    for (qsizetype p = 0; p < n;) {
        if (!inWord(text, p)) {
            qsizetype next = p + 1;
            if (opensTag(text, p)) {
                // Up to its ">"; a "<" first means this one opened nothing, so each character
                // is looked at twice at most.
                while (next < n && text[next] != u'>' && text[next] != u'<')
                    ++next;
                next = next < n && text[next] == u'>' ? next + 1 : p + 1;
            }
            p = next;
            continue;
        }
        qsizetype end = p + 1;
        while (end < n && inWord(text, end))
            ++end;
        qsizetype start = p, last = end;
        p = end;
        const auto edge = [](QChar c) { return c == u'\u00AD' || c == u'-'; };
        while (start < last && edge(text[start]))
            ++start;
        while (last > start && edge(text[last - 1]))
            --last;
        if (start < last)
            found(start, last);
    }
}

} // namespace words
