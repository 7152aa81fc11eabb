#include "dictionaries/diccompare.h"

#include <QHash>
#include <QSet>

namespace diccompare {

namespace {

bool reached(const Checkpoint &checkpoint, int progress)
{
    return !checkpoint || checkpoint(progress);
}

bool missingInto(Result &result, const QStringList &a, const QStringList &b, const Checkpoint &checkpoint)
{
    QSet<QString> present;
    present.reserve(b.size());
    for (const QString &entry : b)
        present.insert(entry.toCaseFolded());
    for (qsizetype i = 0; i < a.size(); ++i) {
        // An empty inner list has no step at which to stop.
        if (!b.isEmpty() && !reached(checkpoint, int(i) + 1)) {
            result.stopped = true;
            return false;
        }
        if (!present.contains(a[i].toCaseFolded()))
            result.entries.append(a[i]);
    }
    return true;
}

} // namespace

Result matching(const QStringList &a, const QStringList &b, const Checkpoint &checkpoint)
{
    QHash<QString, int> counts;
    counts.reserve(b.size());
    for (const QString &entry : b)
        ++counts[entry.toCaseFolded()];
    Result result;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (!b.isEmpty() && !reached(checkpoint, int(i) + 1)) {
            result.stopped = true;
            break;
        }
        const int times = counts.value(a[i].toCaseFolded());
        for (int k = 0; k < times; ++k)
            result.entries.append(a[i]);
    }
    return result;
}

Result missing(const QStringList &a, const QStringList &b, const Checkpoint &checkpoint)
{
    Result result;
    missingInto(result, a, b, checkpoint);
    return result;
}

Result nonMatching(const QStringList &a, const QStringList &b, const Checkpoint &checkpoint)
{
    Result result;
    if (missingInto(result, a, b, checkpoint))
        missingInto(result, b, a, checkpoint);
    return result;
}

Result sum(const QStringList &a, const QStringList &b, const Checkpoint &checkpoint)
{
    Result result;
    const QStringList both = a + b;
    for (qsizetype i = 0; i < both.size(); ++i) {
        if (!reached(checkpoint, int(i) + 1)) {
            result.stopped = true;
            break;
        }
        result.entries.append(both[i]);
    }
    return result;
}

QStringList entries(const QStringList &fields)
{
    QStringList out;
    out.reserve(fields.size());
    for (const QString &field : fields)
        out.append(field.trimmed());
    return out;
}

} // namespace diccompare
