#include "texttools/chapters.h"

#include "platform/text/estimate.h"
#include "texttools/blanks.h"

#include <algorithm>
#include <cmath>

namespace chapters {

namespace {

QStringList numbered()
{
    QStringList patterns;
    for (int n = 1; n <= 99; ++n)
        patterns.append(QString::number(n) + u'.');
    return patterns;
}

QStringList roman()
{
    static const char *const ones[] = {"", "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"};
    static const char *const tens[] = {"", "X", "XX", "XXX"};
    QStringList patterns;
    for (int n = 1; n <= 30; ++n)
        patterns.append(
            QStringLiteral(" %1%2 ").arg(QLatin1String(tens[n / 10]), QLatin1String(ones[n % 10])));
    return patterns;
}

QStringList ownPattern(const QString &text)
{
    return text.isEmpty() ? QStringList() : QStringList{text};
}

} // namespace

QList<Kind> kinds(const QString &text9, const QString &text12, const QString &text13)
{
    const QString crlf = QStringLiteral("\r\n");
    return {
        {1, {QStringLiteral("ГЛАВА")}},
        {2, {QStringLiteral("Глава")}},
        {3, {QString(11, u' ')}},
        {4, {QStringLiteral("КНИГА")}},
        {5, {crlf.repeated(4)}},
        {6, {crlf.repeated(3)}},
        {7, {crlf.repeated(2)}},
        {8, {QStringLiteral("Книга")}},
        {9, ownPattern(text9)},
        {10, numbered()},
        {11, roman()},
        {12, ownPattern(text12)},
        {13, ownPattern(text13)},
    };
}

qsizetype nextHeading(QStringView text, QStringView pattern, qsizetype from)
{
    if (pattern.isEmpty() || from >= text.size())
        return -1;
    return text.indexOf(pattern, from, Qt::CaseSensitive);
}

QList<qsizetype> findHeadings(QStringView text, QStringView pattern)
{
    QList<qsizetype> offsets;
    for (qsizetype at = nextHeading(text, pattern, kSkip); at >= 0;
         at = nextHeading(text, pattern, at + kSkip))
        offsets.append(at);
    return offsets;
}

qsizetype rowFor(const QList<qsizetype> &offsets, qsizetype offset)
{
    return std::upper_bound(offsets.begin(), offsets.end(), offset) - offsets.begin();
}

QString preview(QStringView text, qsizetype offset)
{
    QString shown = text.mid(offset, 80).toString();
    shown.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return texttools::trimBlanks(shown);
}

std::optional<qsizetype> minutes(qsizetype length, int rate)
{
    const std::optional<std::int16_t> charsPerMin = estimate::charsPerMinute(rate);
    if (!charsPerMin)
        return std::nullopt;
    return static_cast<qsizetype>(std::llround(estimate::playHours(length, *charsPerMin) * 60));
}

QList<std::optional<qsizetype>> minutesColumn(const QList<qsizetype> &offsets, qsizetype textLength, int rate)
{
    QList<std::optional<qsizetype>> column;
    for (qsizetype i = 0; i < offsets.size(); ++i) {
        const qsizetype end = i + 1 < offsets.size() ? offsets[i + 1] : textLength;
        column.append(minutes(end - offsets[i], rate));
    }
    return column;
}

QString marker()
{
    return QStringLiteral("\r\n\r\n@@@@@\r\n   ");
}

QList<qsizetype> placesToMark(QStringView text, const QList<Candidate> &candidates)
{
    QList<qsizetype> places;
    for (auto it = candidates.rbegin(); it != candidates.rend(); ++it) {
        if (!it->ticked || it->pattern.isEmpty() || !text.mid(it->offset).startsWith(it->pattern))
            continue;
        // Two kinds that found one place would put two markers there, an empty chapter.
        if (places.contains(it->offset))
            continue;
        places.append(it->offset);
    }
    std::sort(places.begin(), places.end(), std::greater<>());
    return places;
}

} // namespace chapters
