#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// Chapter headings: where they are in a book, how long each chapter is, and the marker
// line the recording cuts blocks at.
namespace chapters {

// The thirteen heading kinds in the order a search runs through them: the number of the
// kind's box (1..13) and its patterns. Boxes 9, 12 and 13 search the text of their own
// pattern box, given here as text9, text12, text13; an empty one has no pattern.
struct Kind
{
    int box;
    QStringList patterns;
};
QList<Kind> kinds(const QString &text9, const QString &text12, const QString &text13);

// Nothing is looked for in a book's first 100 characters, and after a hit the next one
// is looked for 100 characters further on.
inline constexpr qsizetype kSkip = 100;

// The first exact (case-sensitive) occurrence of `pattern` at or after `from`, or -1.
// An empty pattern finds nothing.
qsizetype nextHeading(QStringView text, QStringView pattern, qsizetype from);
// Every heading of one pattern, with the skips above.
QList<qsizetype> findHeadings(QStringView text, QStringView pattern);

// The row a heading at `offset` takes in a list kept in ascending offset order: after
// every row whose offset is smaller or equal.
qsizetype rowFor(const QList<qsizetype> &offsets, qsizetype offset);

// What the list shows of a heading: up to 80 characters from it, each CR LF made a blank,
// blanks trimmed at both ends.
QString preview(QStringView text, qsizetype offset);

// The "мин." figure of a chapter of `length` characters at the narration rate `rate`: its
// playing time in whole minutes (rounded), reckoned as the status bar reckons the book's.
// Nothing for a rate outside -10..10.
std::optional<qsizetype> minutes(qsizetype length, int rate);
// The figures of a list in offset order: each chapter runs to the next, the last to the
// end of the text.
QList<std::optional<qsizetype>> minutesColumn(const QList<qsizetype> &offsets, qsizetype textLength,
                                              int rate);

// CR LF, CR LF, "@@@@@", CR LF and three blanks: put before a heading, it leaves the
// marker line alone after an empty line and the heading indented on the next.
QString marker();

struct Candidate
{
    qsizetype offset;
    QString pattern; // the pattern that found it
    bool ticked;
};
// Where marking inserts markers, last place first: ticked candidates whose heading still
// begins at its offset in `text`, each place once.
QList<qsizetype> placesToMark(QStringView text, const QList<Candidate> &candidates);

} // namespace chapters
