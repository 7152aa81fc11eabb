#include "platform/text/words.h"

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

bool isStressAccent(char16_t u)
{
    return u == 0x0301 || u == 0x0300;
}

// The combining marks a letter may be written with (й as и plus a breve, ё as е plus a
// diaeresis).
bool isCombining(char16_t u)
{
    return u >= 0x0300 && u < 0x0370;
}

// What the compared form of a word differs in: soft hyphens, combining marks, apostrophes
// other than '. Most words hold none of these: they are shared, not copied. Every character of
// a book passes here, so ASCII and the Russian alphabet are told first.
bool needsPlain(QStringView word)
{
    return std::any_of(word.begin(), word.end(), [](QChar c) {
        const char16_t u = c.unicode();
        if (u < kSoftHyphen)
            return u == u'`';
        if (u >= 0x0400 && u < 0x0500)
            return false;
        return u == kSoftHyphen || isCombining(u) || isApostrophe(c);
    });
}

// Letters written with a combining mark as the one letter they show. A stress accent stays as
// it is: composed with е or и it would become a letter Windows-1251 lacks.
QString composed(QString word)
{
    if (std::any_of(word.cbegin(), word.cend(),
                    [](QChar c) { return isCombining(c.unicode()) && !isStressAccent(c.unicode()); }))
        word = word.normalized(QString::NormalizationForm_C);
    return word;
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
    return (c.isLetterOrNumber() && !isApostrophe(c)) || c.isMark() || u == kSoftHyphen;
}

} // namespace

bool opensTag(QStringView text, qsizetype i)
{
    if (text[i] != u'<' || i + 1 == text.size())
        return false;
    const QChar next = text[i + 1];
    return isAsciiLetter(next) || next == u'/' || next == u'!' || next == u'?';
}

bool isStressMark(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    return (c == u'>' || (c == u'<' && !opensTag(text, i))) && i > 0 && isRussianVowel(text[i - 1]);
}

bool isApostrophe(QChar c)
{
    switch (c.unicode()) {
    case u'\'':
    case u'`':
    case u'\u2019':
    case u'\u2018':
    case u'\u2032':
    case u'\u02BC':
        return true;
    default:
        return false;
    }
}

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
    default:
        // ʼ is a letter to Unicode, not to a reader.
        return isApostrophe(c) && inside && text[i - 1].isLetter() && !isApostrophe(text[i - 1]) &&
               text[i + 1].isLetter() && !isApostrophe(text[i + 1]);
    }
}

QString spelling(const QString &word)
{
    return composed(word.contains(QChar(kSoftHyphen)) ? QString(word).remove(QChar(kSoftHyphen)) : word);
}

QString plain(const QString &word)
{
    if (!needsPlain(word))
        return word;
    QString out = word;
    out.removeIf([](QChar c) { return c.unicode() == kSoftHyphen || isStressAccent(c.unicode()); });
    for (QChar &c : out)
        if (isApostrophe(c))
            c = u'\'';
    return composed(out);
}

QString folded(const QString &word)
{
    return plain(word).toCaseFolded();
}

void foldInto(QString &key, QStringView word)
{
    key.resize(word.size());
    QChar *out = key.data();
    for (qsizetype i = 0; i < word.size(); ++i) {
        const char16_t u = word[i].unicode();
        if (u < 0x80 && u != u'`')
            out[i] = u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u;
        else if (u >= u'А' && u <= u'я')
            out[i] = u <= u'Я' ? char16_t(u + 32) : u;
        else if (u == u'ё' || u == u'Ё')
            out[i] = u'ё';
        else
            return void(key = folded(word.toString()));
    }
}

bool matches(QStringView word, QStringView row)
{
    if (!needsPlain(word))
        return word.compare(row, Qt::CaseInsensitive) == 0;
    return QStringView(plain(word.toString())).compare(row, Qt::CaseInsensitive) == 0;
}

qsizetype withoutParticle(QStringView word)
{
    const qsizetype hyphen = word.lastIndexOf(u'-');
    if (hyphen <= 0)
        return word.size();
    const QString particle = plain(word.mid(hyphen + 1).toString());
    for (QStringView p : {u"то", u"ка", u"либо", u"нибудь", u"таки", u"де"})
        if (particle.compare(p, Qt::CaseInsensitive) == 0)
            return hyphen;
    return word.size();
}

} // namespace words
