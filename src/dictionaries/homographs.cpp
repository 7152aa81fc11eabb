#include "dictionaries/homographs.h"

#include "platform/text/programfolder.h"
#include "platform/text/textfile.h"
#include "platform/text/words.h"

#include <QSet>

#include <algorithm>

namespace homographs {

namespace {

bool isRussianLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'А' && u <= u'я') || u == u'ё' || u == u'Ё';
}

// Around an occurrence the stress mark separates words too.
bool isContextLetter(QChar c)
{
    return isRussianLetter(c) || c == u'(' || c == u')';
}

constexpr QStringView kPadded = u".,;:!?";

QString blankLineBreaks(QString s)
{
    s.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    s.replace(u'\r', u' ');
    s.replace(u'\n', u' ');
    return s;
}

} // namespace

QString listFile()
{
    return programfolder::file(QStringLiteral("DIC/homograph.txt"));
}

QStringList rows(const QString &fileText)
{
    QStringList out = textfile::splitFields(fileText);
    for (QString &r : out)
        r = r.trimmed();
    return out;
}

QList<Occurrence> occurrences(const QString &text, const QString &row)
{
    QList<Occurrence> found;
    const QString spelledRow = words::spelling(row);
    const qsizetype n = text.size();
    // 1-based positions; one past the end counts as a delimiter.
    const auto contextDelimiter = [&](qsizetype i) { return i > n || !isContextLetter(text[i - 1]); };
    words::forEach(text, [&](QStringView word, qsizetype start, qsizetype) {
        if (!words::matches(word, spelledRow) &&
            !words::matches(word.left(words::withoutParticle(word)), spelledRow))
            return;
        const qsizetype d = start; // the 1-based position of the delimiter before the word
        qsizetype first = 1;
        if (d > 25) {
            first = d - 25;
            while (!contextDelimiter(first))
                ++first;
            ++first;
        }
        // With no delimiter in reach the context stops at the last position looked at.
        qsizetype last = d + 30;
        for (qsizetype k = d + 10; k <= d + 30; ++k)
            if (contextDelimiter(k)) {
                last = k;
                break;
            }
        last = qMin(last, n);
        const QString piece = text.mid(first - 1, last - first + 1);
        found.append({int(first - 1), int(piece.size()), blankLineBreaks(piece)});
    });
    return found;
}

MarkFinder::MarkFinder(const QString &text) : m_text(text)
{
    // A row without a blank can only match a whole word, so one walk over the text finds
    // the stretches of every such row.
    QString key;
    words::forEach(text, [this, &key](QStringView word, qsizetype start, qsizetype end) {
        words::foldInto(key, word);
        m_runs[key].append(range(start, end));
        // Before a particle the word is marked alone: "замок" of "замок-то", whose hyphen
        // stands where the book has it.
        if (const qsizetype stem = words::withoutParticle(word); stem < word.size()) {
            words::foldInto(key, word.left(stem));
            m_runs[key].append(range(start, m_text.lastIndexOf(u'-', end - 1)));
        }
    });
}

bool MarkFinder::bounded(qsizetype start, qsizetype end) const
{
    return (start == 0 || !words::inWord(m_text, start - 1)) &&
           (end == m_text.size() || !words::inWord(m_text, end));
}

Range MarkFinder::range(qsizetype start, qsizetype end) const
{
    return Range{int(start), int(end - start + (end < m_text.size() && m_text[end] == u' ' ? 1 : 0))};
}

QList<Range> MarkFinder::marks(const QString &row) const
{
    if (row.isEmpty() || std::any_of(row.cbegin(), row.cend(), [](QChar c) { return kPadded.contains(c); }))
        return {};
    if (!row.contains(u' '))
        return m_runs.value(words::folded(row));
    QList<Range> out;
    for (qsizetype p = m_text.indexOf(row, 0, Qt::CaseInsensitive); p >= 0;
         p = m_text.indexOf(row, p + 1, Qt::CaseInsensitive))
        if (bounded(p, p + row.size()))
            out.append(range(p, p + row.size()));
    return out;
}

QList<Range> marks(const QString &text, const QStringList &rows)
{
    const MarkFinder finder(text);
    QList<Range> out;
    for (const QString &row : rows)
        out += finder.marks(row);
    return out;
}

} // namespace homographs
