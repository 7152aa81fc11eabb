#include "recording/abbreviations.h"

#include "platform/text/programfolder.h"
#include "platform/text/textfile.h"

namespace abbreviations {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\u00A0';
}

// The length of `written` found at text[at], or 0.
qsizetype matchAt(QStringView text, qsizetype at, QStringView written)
{
    qsizetype p = at;
    for (qsizetype k = 0; k < written.size(); ++k) {
        const QChar w = written[k];
        if (isBlank(w)) {
            if (p == text.size() || !isBlank(text[p]))
                return 0;
        } else if (p == text.size() || text[p].toLower() != w.toLower()) {
            return 0;
        } else {
            ++p;
        }
        // Blanks after an inner full stop, or standing for a blank of the abbreviation.
        if ((w == u'.' && k + 1 < written.size()) || isBlank(w))
            while (p < text.size() && isBlank(text[p]))
                ++p;
    }
    return p - at;
}

// "5 см." is a unit, read by the voice, not "смотри".
bool afterNumber(QStringView text, qsizetype p)
{
    while (p > 0 && isBlank(text[p - 1]))
        --p;
    return p > 0 && text[p - 1].isDigit();
}

bool endsSentence(QStringView text, qsizetype p)
{
    while (p < text.size() && isBlank(text[p]))
        ++p;
    return p == text.size() || text[p] == u'\r' || text[p] == u'\n' || text[p].isUpper();
}

} // namespace

QString listFile()
{
    return programfolder::file(QStringLiteral("DIC/abbreviations.txt"));
}

QList<Abbreviation> parse(const QStringList &lines)
{
    QList<Abbreviation> out;
    for (const QString &line : lines) {
        if (line.trimmed().startsWith(QLatin1String("//")))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        Abbreviation a{line.left(eq).trimmed(), line.mid(eq + 1).trimmed()};
        if (eq > 0 && !a.written.isEmpty() && !a.words.isEmpty())
            out.append(a);
    }
    return out;
}

QList<Abbreviation> load()
{
    return parse(textfile::readLines(listFile()).value_or(QStringList()));
}

QString expand(QStringView text, const QList<Abbreviation> &list)
{
    QString out;
    qsizetype copied = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!text[i].isLetter() || (i > 0 && text[i - 1].isLetterOrNumber()) || afterNumber(text, i))
            continue;
        for (const Abbreviation &a : list) {
            const qsizetype length = matchAt(text, i, a.written);
            if (!length || (a.written.back().isLetter() && i + length < text.size() &&
                            text[i + length].isLetterOrNumber()))
                continue;
            if (out.isNull())
                out.reserve(text.size() + 64);
            out.append(text.sliced(copied, i - copied));
            QString words = a.words;
            if (text[i].isUpper())
                words[0] = words[0].toUpper();
            out.append(words);
            if (a.written.endsWith(u'.') && endsSentence(text, i + length))
                out.append(u'.');
            copied = i + length;
            i = copied - 1;
            break;
        }
    }
    if (copied == 0)
        return text.toString();
    out.append(text.sliced(copied));
    return out;
}

} // namespace abbreviations
