#include "dictionaries/words.h"

#include <algorithm>

namespace words {

namespace {

constexpr char16_t kSoftHyphen = u'\u00AD';

bool isRussianVowel(QChar c)
{
    return QStringView(u"аеёиоуыэюяАЕЁИОУЫЭЮЯ").contains(c);
}

bool isAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

// What the lists never hold: soft hyphens and the combining acute and grave accents.
bool leftOut(QChar c)
{
    return c.unicode() == kSoftHyphen || c.unicode() == 0x0301 || c.unicode() == 0x0300;
}

// Most words hold nothing to leave out: they are shared, not copied.
bool holdsLeftOut(QStringView word)
{
    return std::any_of(word.begin(), word.end(), [](QChar c) { return leftOut(c); });
}

// Letters, digits, marks and soft hyphens: what a word is made of wherever it stands. ASCII and
// the Russian alphabet, most characters of a book, are told at once.
inline bool letterLike(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return (u >= u'0' && u <= u'9') || isAsciiLetter(c);
    if (u >= u'А' && u <= u'я')
        return true;
    return c.isLetterOrNumber() || c.isMark() || u == kSoftHyphen;
}

// A "<" or ">" that marks the vowel before it as stressed, as the speech layer reads it; "<"
// followed by "/" or a Latin letter opens a tag.
bool isStressMark(QStringView text, qsizetype i)
{
    if (i == 0 || !isRussianVowel(text[i - 1]))
        return false;
    return text[i] == u'>' || i + 1 == text.size() || (text[i + 1] != u'/' && !isAsciiLetter(text[i + 1]));
}

} // namespace

bool inWord(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (letterLike(c))
        return true;
    const bool inside = i > 0 && i + 1 < text.size();
    switch (c.unicode()) {
    case u'<':
    case u'>':
        return isStressMark(text, i);
    case u'-':
        // The character after it first: a run of dashes never looks back more than one step.
        return inside && letterLike(text[i + 1]) && inWord(text, i - 1);
    case u'\'':
    case u'\u2019':
        return inside && text[i - 1].isLetter() && text[i + 1].isLetter();
    default:
        return false;
    }
}

QString spelling(const QString &word)
{
    return word.contains(QChar(kSoftHyphen)) ? QString(word).remove(QChar(kSoftHyphen)) : word;
}

QString plain(const QString &word)
{
    return holdsLeftOut(word) ? QString(word).removeIf(leftOut) : word;
}

QString folded(const QString &word)
{
    return plain(word).toCaseFolded();
}

bool matches(QStringView word, QStringView row)
{
    if (!holdsLeftOut(word))
        return word.compare(row, Qt::CaseInsensitive) == 0;
    return QStringView(plain(word.toString())).compare(row, Qt::CaseInsensitive) == 0;
}

} // namespace words
