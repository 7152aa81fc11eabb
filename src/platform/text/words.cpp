#include "platform/text/words.h"

#include <libxml/HTMLparser.h>

#include <algorithm>
#include <array>

namespace words {

namespace {

constexpr char16_t kSoftHyphen = u'\u00AD';
// How a Reading writes every stress mark: the combining acute accent after the vowel.
constexpr char16_t kStress = u'\u0301';

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

// What a word's spelling differs from it in: soft hyphens, combining marks, apostrophes
// other than '. Most words hold none of these: they are shared, not copied. Every character of
// a book passes here, so ASCII and the Russian alphabet are told first.
bool differsInSpelling(QStringView word)
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

// Letters written with a combining mark as the one letter they show ("é"). A stress accent
// after a Russian vowel is the program's mark by now: composed with е or и it would become a
// letter Windows-1251 lacks.
QString composed(QString word)
{
    if (std::any_of(word.cbegin(), word.cend(), [](QChar c) { return isCombining(c.unicode()); }))
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

namespace {

constexpr qsizetype kMaxTag = 2000;
constexpr qsizetype kMaxEntity = 32;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// What an element or attribute name may hold after its first letter.
bool isNameChar(QChar c)
{
    return isAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'-' || c == u'_' || c == u':' || c == u'.';
}

// One past the name starting at text[i], or i when none starts there.
qsizetype nameEnd(QStringView text, qsizetype i)
{
    if (i >= text.size() || !isAsciiLetter(text[i]))
        return i;
    while (++i < text.size() && isNameChar(text[i])) {
    }
    return i;
}

} // namespace

qsizetype tagEnd(QStringView text, qsizetype i)
{
    const qsizetype n = text.size();
    if (text[i] != u'<')
        return 0;
    qsizetype p = i + 1;
    if (p < n && text[p] == u'/')
        ++p;
    if (const qsizetype name = p; (p = nameEnd(text, p)) == name)
        return 0;
    for (;;) {
        const qsizetype blanks = p;
        while (p < n && isBlank(text[p]))
            ++p;
        if (p < n && text[p] == u'/')
            ++p;
        if (p < n && text[p] == u'>')
            return p + 1;
        if (p == blanks || text[p - 1] == u'/')
            return 0; // an attribute follows a blank
        const qsizetype name = p;
        if ((p = nameEnd(text, p)) == name)
            return 0;
        qsizetype q = p;
        while (q < n && isBlank(text[q]))
            ++q;
        if (q == n || text[q] != u'=')
            continue;
        ++q;
        while (q < n && isBlank(text[q]))
            ++q;
        if (q < n && (text[q] == u'"' || text[q] == u'\'')) {
            // A quote never closed within a tag's reach opens none: the text is looked at once.
            const qsizetype close = text.first(std::min(n, i + kMaxTag)).indexOf(text[q], q + 1);
            if (close < 0)
                return 0;
            p = close + 1;
            continue;
        }
        p = q;
        while (p < n && !isBlank(text[p]) && !QStringView(u"\"'<>=`").contains(text[p]))
            ++p;
        if (p == q)
            return 0;
    }
}

Entity entityAt(QStringView text, qsizetype i)
{
    const qsizetype n = text.size();
    if (text[i] != u'&' || i + 2 >= n)
        return {};
    // The longest of HTML's names is far shorter; a "&" without its ";" near is text.
    const qsizetype semi = text.first(std::min(n, i + kMaxEntity)).indexOf(u';', i + 1);
    if (semi < 0)
        return {};
    const QStringView name = text.sliced(i + 1, semi - i - 1);
    char32_t code = 0;
    if (name.startsWith(u'#')) {
        const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
        const QStringView digits = name.sliced(hex ? 2 : 1);
        bool ok = !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), [hex](QChar c) {
            return (c >= u'0' && c <= u'9') || (hex && isAsciiLetter(c));
        });
        const uint value = ok ? digits.toUInt(&ok, hex ? 16 : 10) : 0;
        if (!ok || value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return {};
        code = value;
    } else {
        if (nameEnd(name, 0) != name.size())
            return {};
        // HTML's own table, as libxml2 keeps it.
        const htmlEntityDesc *entity =
            htmlEntityLookup(reinterpret_cast<const xmlChar *>(name.toLatin1().constData()));
        if (!entity)
            return {};
        code = entity->value;
    }
    return {QString::fromUcs4(&code, 1), semi - i + 1};
}

bool isStressMark(QStringView text, qsizetype i)
{
    if (i == 0 || !isRussianVowel(text[i - 1]))
        return false;
    const qsizetype n = text.size();
    switch (text[i].unicode()) {
    case u'>':
        return i + 1 == n || text[i + 1] != u'>';
    case u'<':
        return (i + 1 == n || text[i + 1] != u'<') && !tagEnd(text, i);
    default:
        return isStressAccent(text[i].unicode());
    }
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

namespace {

// Whether a Reading may write the character otherwise. Every character of a book passes here,
// so the Russian alphabet and ASCII are told first.
inline bool changesInReading(char16_t u)
{
    static constexpr std::array<bool, 0x80> ascii = [] {
        std::array<bool, 0x80> t{};
        t[u'<'] = t[u'>'] = t[u'&'] = t[u'`'] = true;
        return t;
    }();
    if (u < 0x80)
        return ascii[u];
    return char16_t(u - 0x0400) >= 0x100 && u >= 0x0300 && (isStressAccent(u) || isApostrophe(QChar(u)));
}

// inWord for a book's text (`marks`: its "<" and ">" may mark stress) or for a Reading's.
template <bool marks> bool belongs(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (letterLike(c))
        return true;
    const bool inside = i > 0 && i + 1 < text.size();
    switch (c.unicode()) {
    case u'<':
    case u'>':
        return marks && isStressMark(text, i);
    case u'-':
        // The character after it first: a run of dashes never looks back more than one step.
        return inside && letterLike(text[i + 1]) && belongs<marks>(text, i - 1);
    default:
        // ʼ is a letter to Unicode, not to a reader.
        return isApostrophe(c) && inside && text[i - 1].isLetter() && !isApostrophe(text[i - 1]) &&
               text[i + 1].isLetter() && !isApostrophe(text[i + 1]);
    }
}

} // namespace

bool inWord(QStringView text, qsizetype i)
{
    return belongs<true>(text, i);
}

bool inReadWord(QStringView text, qsizetype i)
{
    return belongs<false>(text, i);
}

bool movesWords(const QString &text)
{
    return text.contains(u'<') || text.contains(u'>') || text.contains(u'&');
}

bool isReadStress(QStringView text, qsizetype i)
{
    return text[i] == QChar(kStress) && i > 0 && isRussianVowel(text[i - 1]);
}

QString Reading::marked() const
{
    if (m_from.isEmpty())
        return m_text;
    QString out = m_text;
    for (qsizetype i = 0; i < out.size(); ++i)
        if (isReadStress(out, i))
            out[i] = u'<';
    return out;
}

QString spelling(const QString &word)
{
    if (!differsInSpelling(word))
        return word;
    QString out;
    out.reserve(word.size());
    for (QChar c : word) {
        if (c.unicode() == kSoftHyphen)
            continue;
        if (isStressAccent(c.unicode()) && !out.isEmpty() && isRussianVowel(out.back()))
            c = u'<'; // a Reading writes U+0301, a book may write either
        else if (isApostrophe(c))
            c = u'\'';
        out.append(c);
    }
    return composed(out);
}

Reading::Reading(const QString &source)
{
    const qsizetype n = source.size();
    // Most books hold nothing a reading changes: they are read as they stand.
    const char16_t *const chars = QStringView(source).utf16();
    const bool same = std::none_of(chars, chars + n, [](char16_t u) { return changesInReading(u); });
    if (same) {
        m_text = source;
        return;
    }
    m_text.reserve(n);
    m_from.reserve(n + 1);
    const auto put = [this](QChar c, qsizetype from) {
        m_text.append(c);
        m_from.append(from);
    };
    // One stress per vowel, however many marks it carries.
    const auto stress = [&](qsizetype from) {
        if (!m_text.endsWith(QChar(kStress)))
            put(kStress, from);
    };
    for (qsizetype i = 0; i < n;) {
        const QChar c = source[i];
        const bool doubled = i + 1 < n && source[i + 1] == c;
        if (isStressMark(source, i) || (isStressAccent(c.unicode()) && m_text.endsWith(QChar(kStress)))) {
            stress(i++);
        } else if (c == u'<' || c == u'>') {
            if (const qsizetype end = c == u'<' ? tagEnd(source, i) : 0) {
                // A tag parts words; at a line's start it is nothing, as a paragraph's
                // indent would be lost otherwise.
                if (!m_text.isEmpty() && !QStringView(u" \t\r\n").contains(m_text.back()))
                    put(u' ', i);
                i = end;
            } else {
                put(doubled ? (c == u'<' ? u'«' : u'»') : c, i);
                i += doubled ? 2 : 1;
            }
        } else if (const Entity entity = c == u'&' ? entityAt(source, i) : Entity{}; entity.length) {
            for (QChar e : entity.text)
                put(e, i);
            i += entity.length;
        } else {
            put(isApostrophe(c) ? QChar(u'\'') : c, i++);
        }
    }
    m_from.append(n);
}

QString folded(const QString &word)
{
    return spelling(word).toCaseFolded();
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
    if (!differsInSpelling(word))
        return word.compare(row, Qt::CaseInsensitive) == 0;
    return QStringView(spelling(word.toString())).compare(row, Qt::CaseInsensitive) == 0;
}

qsizetype withoutParticle(QStringView word)
{
    // Every word of a book passes here: only its end, where a particle would stand, is looked at.
    constexpr qsizetype kLongestParticle = 12; // "нибудь", with room for soft hyphens and accents
    const char16_t *const chars = word.utf16();
    const qsizetype stop = std::max<qsizetype>(1, word.size() - kLongestParticle);
    qsizetype hyphen = word.size();
    while (--hyphen >= stop && chars[hyphen] != u'-') {
    }
    if (hyphen < stop)
        return word.size();
    const QString particle = spelling(word.mid(hyphen + 1).toString());
    for (QStringView p : {u"то", u"ка", u"либо", u"нибудь", u"таки", u"де"})
        if (particle.compare(p, Qt::CaseInsensitive) == 0)
            return hyphen;
    return word.size();
}

} // namespace words
