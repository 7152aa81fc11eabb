#pragma once

// The dictionary tools in their plain step-by-step form: each change starts the work over,
// every pair of records is compared. The benchmarks time them as
// the baseline.
#include "dictionaries/checktools.h"

#include <QStringList>

#include <optional>
#include <utility>

namespace reference {

using namespace Qt::StringLiterals;

// The tools as their steps read, one change at a time, each change starting over.
inline void repeats(QStringList &l, int &repeats)
{
    bool removed = true;
    while (removed) {
        removed = false;
        for (int i = 2; i <= l.size(); ++i) {
            if (l[i - 2].compare(l[i - 1], Qt::CaseInsensitive) == 0) {
                l.removeAt(i - 2);
                ++repeats;
                removed = true;
            }
        }
    }
}

inline checktools::Sorted sortAndClean(QStringList l)
{
    checktools::Sorted s;
    checktools::sortRecords(l);
    for (;;) {
        repeats(l, s.repeats);
        const int n = int(l.size());
        for (int k = 0; k < n; ++k) {
            for (;;) {
                const qsizetype lt = l[k].indexOf(u'<'), gt = l[k].indexOf(u'>');
                const qsizetype blank = lt < 0 ? -1 : l[k].indexOf(u' ', lt + 1);
                if (lt < 0 || gt < 0 || blank < 0 || blank > gt)
                    break;
                l[k].replace(blank, 1, u"##"_s);
                ++s.blanks;
            }
        }
        // New marks can make records equal.
        repeats(l, s.repeats);
        bool changed = false;
        for (int k = 0; k < l.size() && !changed; ++k) {
            const QString &r = l[k];
            const qsizetype colon = r.indexOf(u':');
            if (colon < 1 || !r.contains(u"##"_s))
                continue;
            const qsizetype w = r.left(colon).trimmed().count(u' ');
            const qsizetype h = r.mid(colon + 1).count(u"##"_s);
            changed = true;
            if (r.size() > 200 || w < h || (w > h && !r.contains(u'>')) || (w == h && w > 4)) {
                l.removeAt(k);
                ++s.invalid;
            } else if (w > h) {
                l[k].replace(u">"_s, u"##>"_s);
            } else {
                changed = false;
            }
        }
        if (!changed)
            break;
    }
    s.records = l;
    return s;
}

inline QStringList variants(QStringList l)
{
    for (bool found = true; found;) {
        found = false;
        for (int i = 1; i < l.size() && !found; ++i) {
            const qsizetype a = l[i - 1].indexOf(u':'), b = l[i].indexOf(u':');
            if (a >= 0 && b >= 0 && l[i - 1].left(a).compare(l[i].left(b), Qt::CaseInsensitive) == 0) {
                l.remove(i - 1, 2);
                found = true;
            }
        }
    }
    return l;
}

inline std::optional<std::pair<int, int>> overlap(const QStringList &l, int start)
{
    for (int i = start; i < l.size(); ++i) {
        const qsizetype colon = l[i].indexOf(u':');
        if (colon < 0)
            continue;
        for (int j = 0; j < l.size(); ++j)
            if (j != i && (u' ' + l[j]).contains(u' ' + l[i].left(colon), Qt::CaseInsensitive))
                return std::pair{i, j};
    }
    return std::nullopt;
}

// The comparisons as nested scans over both lists.
inline QStringList matching(const QStringList &a, const QStringList &b)
{
    QStringList out;
    for (const QString &x : a)
        for (const QString &y : b)
            if (x.compare(y, Qt::CaseInsensitive) == 0)
                out.append(x);
    return out;
}

inline QStringList missing(const QStringList &a, const QStringList &b)
{
    QStringList out;
    for (const QString &x : a) {
        bool found = false;
        for (const QString &y : b)
            found = found || x.compare(y, Qt::CaseInsensitive) == 0;
        if (!found)
            out.append(x);
    }
    return out;
}

} // namespace reference
