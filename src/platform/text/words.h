#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// What a word of a book is, for every part of the program that looks at words: the speech
// layer finds its stress marks here, and the new-word finder, the homograph search and the
// homograph marking cut words and compare them with the lists here, so a word one of them
// sees is the word the others see.
namespace words {

// Whether text[i] marks the stress of the Russian vowel right before it: the program's own
// "<" or ">" ("за<мок", "мою<", "Ё>ж"), unless the "<" opens a tag ("руки</p>") or either is
// doubled ("<<Мама>>" quotes), or a combining acute or grave accent ("за\u0301мок").
bool isStressMark(QStringView text, qsizetype i);

// The end (one past its ">") of the tag starting at text[i], or 0 when there is none: "<", an
// optional "/", a Latin name, optional attributes (a name, optionally "=" and a value, quoted
// or not), an optional "/" and ">". "x<y, то y>x" holds no tag.
qsizetype tagEnd(QStringView text, qsizetype i);

// The character an HTML entity at text[i] stands for ("&laquo;", "&#233;", "&#x416;") and the
// entity's length, or a length of 0 when there is none there.
struct Entity
{
    QString text;
    qsizetype length = 0;
};
Entity entityAt(QStringView text, qsizetype i);

// The apostrophes a text may write inside a word ("д'Артаньян"): ', ’, ‘, `, ′ and ʼ.
bool isApostrophe(QChar c);

// Whether the character at `i` of a book's text belongs to a word: letters, digits, marks, soft
// hyphens (U+00AD, invisible breaks e-books put inside words), the stress marks, a hyphen
// between two of those ("кто-то"; a hyphen used as a dash, "-Где?", is not), and an apostrophe
// between two letters ("д‘Артаньян"). Anything else (blanks, line ends, quotes, brackets, tags,
// dashes, punctuation) and the ends of the text bound a word.
bool inWord(QStringView text, qsizetype i);

// The word as the finder lists it and the lists are compared with: without its soft hyphens,
// with letters written as a letter plus a combining mark composed ("мои\u0306" is "мой"), a
// stress accent after a Russian vowel as the program's own mark ("за\u0301мок" is "за<мок",
// which Windows-1251 can hold) and every apostrophe as '. A stressed word is never a list's row.
QString spelling(const QString &word);
// The spelling case-folded: the word looked up with case ignored.
QString folded(const QString &word);
// folded() written into `key`, whose buffer is reused: every word of a book passes here, and
// one of ASCII and Russian letters alone needs no new string.
void foldInto(QString &key, QStringView word);
// Whether `word` is `row` (a spelling), case ignored.
bool matches(QStringView word, QStringView row);

// The length of `word` without a particle after a hyphen (-то, -ка, -либо, -нибудь, -таки,
// -де): "замок-то" is "замок" to the lists. The whole length when it has none.
qsizetype withoutParticle(QStringView word);

// A text as the listener hears it, and where each of its characters comes from: entities are
// their characters, a tag is a blank (nothing after a blank, a line end or at the start), every
// stress mark is U+0301 after its vowel, every apostrophe is ' and a doubled "<<" or ">>" is «
// or ». Speech, the new-word finder and the homograph marking all read a book so.
class Reading
{
public:
    explicit Reading(const QString &source);
    const QString &text() const { return m_text; }
    // text() with each stress mark written as the program's own "<", which Windows-1251 holds:
    // what the text preparation of a recording hands on.
    QString marked() const;
    // Where the source of text()[i] starts; text().size() gives the source's size.
    qsizetype sourcePos(qsizetype i) const { return m_from.isEmpty() ? i : m_from[i]; }

private:
    QString m_text;
    QList<qsizetype> m_from; // empty: the text is the source itself
};

// Whether text[i] of a Reading's text is a stress mark: U+0301 after a Russian vowel.
bool isReadStress(QStringView text, qsizetype i);

// Whether the character at `i` of a Reading's text belongs to a word: as inWord, with no "<"
// or ">" (every stress mark of a Reading is an accent).
bool inReadWord(QStringView text, qsizetype i);

// Whether a Reading of `text` may cut its words otherwise than the text itself: it holds an
// entity, a tag or a stress mark written "<" or ">". Accents and apostrophes are read alike in
// both by spelling().
bool movesWords(const QString &text);

// Calls `found(word, start, end)` for each word of `text` as read (Reading), in text order;
// `start` and `end` (one past it) are the word's place in `text`. Soft hyphens and hyphens at
// a word's edge are left out; a run of them alone is no word. A tag holds no word.
template <typename F> void forEach(const QString &text, F &&found)
{
    // Most books need no Reading of their own: a whole book is walked here.
    const std::optional<Reading> reading = movesWords(text) ? std::optional<Reading>(text) : std::nullopt;
    const QString &t = reading ? reading->text() : text;
    const auto sourcePos = [&reading](qsizetype i) { return reading ? reading->sourcePos(i) : i; };
    const qsizetype n = t.size();
    for (qsizetype p = 0; p < n;) {
        if (!inReadWord(t, p)) {
            ++p;
            continue;
        }
        qsizetype end = p + 1;
        while (end < n && inReadWord(t, end))
            ++end;
        qsizetype start = p, last = end;
        p = end;
        const auto edge = [](QChar c) { return c == u'\u00AD' || c == u'-'; };
        while (start < last && edge(t[start]))
            ++start;
        while (last > start && edge(t[last - 1]))
            --last;
        if (start < last)
            found(QStringView(t).sliced(start, last - start), sourcePos(start), sourcePos(last));
    }
}

} // namespace words
