#include "dictionaries/homographs.h"

#include "platform/text/programfolder.h"
#include "platform/text/textfile.h"

namespace homographs {

namespace {

bool isRussianLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'А' && u <= u'я') || u == u'ё' || u == u'Ё';
}

// Characters that make up a word when the text is split into tokens.
bool isWordChar(QChar c)
{
    return isRussianLetter(c) || c == u'<' || c == u'(' || c == u')';
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
    const qsizetype n = text.size();
    // 1-based positions; one past the end counts as a delimiter.
    const auto contextDelimiter = [&](qsizetype i) { return i > n || !isContextLetter(text[i - 1]); };
    qsizetype d = 0;
    for (qsizetype i = 1; i <= n + 1; ++i) {
        if (i <= n && isWordChar(text[i - 1]))
            continue;
        if (i - 1 > d && QStringView(text).mid(d, i - 1 - d).compare(row, Qt::CaseInsensitive) == 0) {
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
        }
        d = i;
    }
    return found;
}

QList<Range> marks(const QString &text, const QStringList &rows)
{
    QList<Range> out;
    const qsizetype n = text.size();
    for (const QString &row : rows) {
        if (row.isEmpty() || std::any_of(row.cbegin(), row.cend(), [](QChar c) { return kPadded.contains(c); }))
            continue;
        for (qsizetype p = text.indexOf(row, 0, Qt::CaseInsensitive); p >= 0;
             p = text.indexOf(row, p + 1, Qt::CaseInsensitive)) {
            const qsizetype end = p + row.size();
            const bool before = p >= 1 && ((text[p - 1] == u' ' && p >= 2) || kPadded.contains(text[p - 1]));
            const bool after = end < n && (text[end] == u' ' || kPadded.contains(text[end]));
            if (before && after)
                out.append({int(p), int(row.size() + (text[end] == u' ' ? 1 : 0))});
        }
    }
    return out;
}

} // namespace homographs
