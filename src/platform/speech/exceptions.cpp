#include "platform/speech/exceptions.h"

#include <QMutex>
#include <QMutexLocker>

#include <algorithm>

namespace speech {

namespace {

QMutex &pathMutex()
{
    static QMutex mutex;
    return mutex;
}

QString &pathSlot()
{
    static QString path;
    return path;
}

constexpr int maxWords = 5;

bool isWordChar(const QString &s, qsizetype i)
{
    if (s[i].isLetterOrNumber())
        return true;
    // A hyphen between letters joins one word ("кто-то").
    return s[i] == u'-' && i > 0 && i + 1 < s.size() && s[i - 1].isLetterOrNumber() &&
           s[i + 1].isLetterOrNumber();
}

// [start, end) of every word of the text.
QList<std::pair<int, int>> wordsOf(const QString &text)
{
    QList<std::pair<int, int>> words;
    const int n = int(text.size());
    int i = 0;
    while (i < n) {
        if (!isWordChar(text, i)) {
            ++i;
            continue;
        }
        const int start = i;
        while (i < n && isWordChar(text, i))
            ++i;
        words.append({start, i});
    }
    return words;
}

bool onlyBlanks(QStringView s)
{
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c.isSpace(); });
}

} // namespace

void setExceptionDictionary(const QString &path)
{
    QMutexLocker lock(&pathMutex());
    pathSlot() = path;
}

QString exceptionDictionary()
{
    QMutexLocker lock(&pathMutex());
    return pathSlot();
}

ExceptionTable ExceptionTable::fromLines(const QStringList &lines)
{
    ExceptionTable table;
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1String("//")))
            continue;
        const qsizetype colon = line.indexOf(QLatin1String(" :\t"));
        const qsizetype open = line.indexOf(u'<', colon + 3);
        const qsizetype close = line.lastIndexOf(u'>');
        if (colon <= 0 || open < 0 || close <= open)
            continue;
        Entry entry;
        entry.words = line.left(colon).split(u' ', Qt::SkipEmptyParts);
        if (entry.words.isEmpty() || entry.words.size() > maxWords)
            continue;
        entry.ignoreCase =
            line.mid(close + 1).trimmed().compare(QLatin1String("/i"), Qt::CaseInsensitive) == 0;
        QString pronunciation = line.mid(open + 1, close - open - 1);
        pronunciation.replace(QLatin1String("##"), QLatin1String(" "));
        const QList<Segment> parsed = parsePlain(pronunciation);
        if (parsed.size() != 1)
            continue;
        entry.text = parsed.front().text;
        entry.stresses = parsed.front().stresses;
        table.m_byFirstWord[entry.words.front().toLower()].append(int(table.m_entries.size()));
        table.m_entries.append(std::move(entry));
    }
    return table;
}

bool ExceptionTable::matches(const Entry &entry, const QString &text, const QList<std::pair<int, int>> &words,
                             int first) const
{
    const Qt::CaseSensitivity cs = entry.ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (int j = 0; j < entry.words.size(); ++j) {
        const auto [start, end] = words[first + j];
        if (QStringView(text).mid(start, end - start).compare(entry.words[j], cs) != 0)
            return false;
        if (j > 0 && !onlyBlanks(QStringView(text).mid(words[first + j - 1].second,
                                                       start - words[first + j - 1].second)))
            return false;
    }
    return true;
}

Segment ExceptionTable::apply(const Segment &segment) const
{
    if (m_entries.isEmpty())
        return segment;
    const QString &text = segment.text;
    const QList<std::pair<int, int>> words = wordsOf(text);
    Segment out{QString(), segment.prosody, segment.silenceMs, {}};
    int copied = 0; // text before this is in `out`
    auto copyUpTo = [&](int end) {
        const int shift = int(out.text.size()) - copied;
        for (int s : segment.stresses) {
            if (s >= copied && s < end)
                out.stresses.append(s + shift);
        }
        out.text.append(QStringView(text).mid(copied, end - copied));
        copied = end;
    };
    for (int i = 0; i < words.size();) {
        const auto it =
            m_byFirstWord.constFind(text.mid(words[i].first, words[i].second - words[i].first).toLower());
        const Entry *best = nullptr;
        if (it != m_byFirstWord.constEnd()) {
            for (int index : *it) {
                const Entry &e = m_entries[index];
                const int n = int(e.words.size());
                if (i + n > words.size() || (best && n <= best->words.size()) || !matches(e, text, words, i))
                    continue;
                // A stress the text marks itself is the reader's choice and wins.
                const int start = words[i].first;
                const int end = words[i + n - 1].second;
                if (std::any_of(segment.stresses.cbegin(), segment.stresses.cend(),
                                [&](int s) { return s >= start && s < end; }))
                    continue;
                best = &e;
            }
        }
        if (!best) {
            ++i;
            continue;
        }
        copyUpTo(words[i].first);
        for (int s : best->stresses)
            out.stresses.append(int(out.text.size()) + s);
        out.text.append(best->text);
        copied = words[i + best->words.size() - 1].second;
        i += int(best->words.size());
    }
    copyUpTo(int(text.size()));
    return out;
}

} // namespace speech
