#include "texttools/replacelist.h"

#include "platform/text/textfile.h"

#include <QStringMatcher>

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

namespace {

// The run behind both replaceAll(): `folded`, when given, is text.toCaseFolded() and is
// kept in step.
QList<qsizetype> run(QString &text, QString *folded, const Entry &entry, qsizetype from)
{
    QList<qsizetype> hits;
    const QString &s = entry.search;
    if (s.isEmpty())
        return hits;
    from = qBound<qsizetype>(0, from, text.size());
    const bool shared = sharesBlank(entry);
    const bool ignoreCase = entry.cs == Qt::CaseInsensitive;

    // Case-insensitive search folds every character it compares; in the folded twin a plain
    // search does, much faster. Folding keeps positions only where it keeps the length.
    const QString foldedSearch = folded ? s.toCaseFolded() : QString();
    const QString foldedReplacement = folded ? entry.replacement.toCaseFolded() : QString();
    const bool twin = folded && folded->size() == text.size() && foldedSearch.size() == s.size() &&
                      foldedReplacement.size() == entry.replacement.size();
    const QStringMatcher matcher(s, entry.cs);
    auto find = [&](qsizetype at) {
        if (ignoreCase && twin)
            return folded->indexOf(foldedSearch, at, Qt::CaseSensitive);
        return matcher.indexIn(text, at);
    };

    QString out;
    QString foldedOut;
    auto copy = [&](qsizetype at, qsizetype n) {
        out.append(QStringView(text).mid(at, n));
        if (twin)
            foldedOut.append(QStringView(*folded).mid(at, n));
    };
    auto insert = [&] {
        hits.append(out.size());
        out += entry.replacement;
        if (twin)
            foldedOut += foldedReplacement;
    };

    const QStringView head = QStringView(s).left(1);
    const QStringView tail = QStringView(s).mid(1);
    qsizetype i = from;
    bool afterHit = false;
    for (;;) {
        if (afterHit && shared && !out.isEmpty() && QStringView(out).right(1).compare(head, entry.cs) == 0 &&
            QStringView(text).mid(i, tail.size()).compare(tail, entry.cs) == 0) {
            out.chop(1);
            if (twin)
                foldedOut.chop(1);
            insert();
            i += tail.size();
            continue;
        }
        const qsizetype j = find(i);
        if (j < 0)
            break;
        if (hits.isEmpty()) {
            out.reserve(text.size() + 64);
            if (twin)
                foldedOut.reserve(text.size() + 64);
            copy(0, j);
        } else {
            copy(i, j - i);
        }
        insert();
        i = j + s.size();
        afterHit = true;
    }
    if (hits.isEmpty())
        return hits;
    copy(i, text.size() - i);
    text = std::move(out);
    if (twin)
        *folded = std::move(foldedOut);
    else if (folded)
        *folded = text.toCaseFolded();
    return hits;
}

} // namespace

QList<qsizetype> replaceAll(QString &text, const Entry &entry, qsizetype from)
{
    return run(text, nullptr, entry, from);
}

QList<qsizetype> replaceAll(QString &text, QString &folded, const Entry &entry, qsizetype from)
{
    return run(text, &folded, entry, from);
}

QString apply(QString text, const QStringList &lines, const std::function<void()> &afterEntry)
{
    QString folded = text.toCaseFolded();
    for (const QString &line : lines) {
        if (const auto entry = parseEntry(line))
            replaceAll(text, folded, *entry);
        if (afterEntry)
            afterEntry();
    }
    return text;
}

} // namespace replacelist
