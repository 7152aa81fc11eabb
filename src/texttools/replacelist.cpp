#include "texttools/replacelist.h"

#include "platform/text/textfile.h"

namespace replacelist {

std::optional<Entry> parseEntry(QStringView line)
{
    Entry entry;
    if (line.startsWith(u'$')) {
        entry.cs = Qt::CaseSensitive;
        line = line.mid(1);
    }
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return std::nullopt;
    QStringView key = line.left(eq);
    const QStringView replacement = line.mid(eq + 1);
    const bool openStart = key.startsWith(u'*');
    if (openStart)
        key = key.mid(1);
    // Whatever stands between the end marker and the "=" is not part of the key.
    const qsizetype star = key.indexOf(u'*');
    const bool openEnd = star >= 0;
    if (openEnd)
        key = key.left(star);
    if (key.isEmpty())
        return std::nullopt;

    const QString blank = QStringLiteral(" ");
    const QString before = openStart ? QString() : blank;
    const QString after = openEnd ? QString() : blank;
    entry.search = before + key.toString() + after;
    entry.replacement = before + replacement.toString() + after;
    return entry;
}

QStringList entryLines(const QStringList &lines)
{
    QStringList entries;
    for (const QString &line : lines) {
        if (line.contains(u'='))
            entries.append(line);
    }
    return entries;
}

std::optional<QStringList> read(const QString &path, QString *error)
{
    const auto lines = textfile::readLines(path, error);
    if (!lines)
        return std::nullopt;
    return entryLines(*lines);
}

bool write(const QString &path, const QStringList &lines, QString *error)
{
    return textfile::writeLines(path, lines, error);
}

namespace {

// A lone blank has nothing beside the blank to share: it would find itself for ever.
bool sharesBlank(const Entry &entry)
{
    return entry.search.size() > 1 && entry.search.endsWith(u' ');
}

} // namespace

qsizetype resumePoint(const Entry &entry, qsizetype hit)
{
    return hit + entry.replacement.size() - (sharesBlank(entry) ? 1 : 0);
}

QList<qsizetype> replaceAll(QString &text, const Entry &entry, qsizetype from)
{
    QList<qsizetype> hits;
    const QString &s = entry.search;
    if (s.isEmpty())
        return hits;
    from = qBound<qsizetype>(0, from, text.size());
    const bool shared = sharesBlank(entry);
    const QStringView head = QStringView(s).left(1);
    const QStringView tail = QStringView(s).mid(1);

    QString out;
    qsizetype i = from;
    bool afterHit = false;
    for (;;) {
        if (afterHit && shared && !out.isEmpty() && QStringView(out).right(1).compare(head, entry.cs) == 0 &&
            QStringView(text).mid(i, tail.size()).compare(tail, entry.cs) == 0) {
            out.chop(1);
            hits.append(out.size());
            out += entry.replacement;
            i += tail.size();
            continue;
        }
        const qsizetype j = text.indexOf(s, i, entry.cs);
        if (j < 0)
            break;
        if (hits.isEmpty()) {
            out.reserve(text.size() + 64);
            out.append(QStringView(text).left(j));
        } else {
            out.append(QStringView(text).mid(i, j - i));
        }
        hits.append(out.size());
        out += entry.replacement;
        i = j + s.size();
        afterHit = true;
    }
    if (!hits.isEmpty()) {
        out.append(QStringView(text).mid(i));
        text = std::move(out);
    }
    return hits;
}

QString apply(QString text, const QStringList &lines, const std::function<void()> &afterEntry)
{
    for (const QString &line : lines) {
        if (const auto entry = parseEntry(line))
            replaceAll(text, *entry);
        if (afterEntry)
            afterEntry();
    }
    return text;
}

} // namespace replacelist
