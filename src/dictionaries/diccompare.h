#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The five comparisons of two dictionaries, entries compared as whole texts with letter
// case ignored.
namespace diccompare {

// Called with the progress to show (the position of the outer entry, or the running total
// of the sum); false stops the comparison.
using Checkpoint = std::function<bool(int progress)>;

struct Result
{
    QStringList entries; // what was found before a stop, in the comparison's order
    bool stopped = false;
};

// Entries of `a` that `b` holds, once per equal entry of `b`, in the order of `a`.
Result matching(const QStringList &a, const QStringList &b, const Checkpoint &checkpoint = {});
// Entries of `a` that `b` lacks, in the order of `a`, repeats kept.
Result missing(const QStringList &a, const QStringList &b, const Checkpoint &checkpoint = {});
// missing(a, b) followed by missing(b, a).
Result nonMatching(const QStringList &a, const QStringList &b, const Checkpoint &checkpoint = {});
// Both lists, repeats kept; the caller sorts.
Result sum(const QStringList &a, const QStringList &b, const Checkpoint &checkpoint = {});

// Entries of a dictionary file: its comma-separated fields, trimmed.
QStringList entries(const QStringList &fields);

} // namespace diccompare
