#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The homograph list and what is done with it in the main text: listing each occurrence
// with the words around it, and marking every occurrence.
namespace homographs {

// DIC/homograph.txt inside the program folder.
QString listFile();

// The rows of a homograph list file's text: its comma-separated fields, trimmed; an empty
// field gives an empty row.
QStringList rows(const QString &fileText);

// One occurrence of a row in a text: where its context lies (0-based, a line break
// counting as CR LF, as in the editor) and the context as listed, line breaks made blanks.
struct Occurrence
{
    int start = 0;
    int length = 0;
    QString context;
    bool operator==(const Occurrence &) const = default;
};

// The occurrences of `row` as a whole word (cut and compared as words.h says: soft hyphens and
// stress accents left out, case ignored; a word with a stress mark is already read), each with
// the words that start up to 25 characters before it and those after it up to the first
// delimiter 10 to 30 characters after the one before it.
QList<Occurrence> occurrences(const QString &text, const QString &row);

// A stretch of the main text to mark.
struct Range
{
    int start = 0;
    int length = 0;
    bool operator==(const Range &) const = default;
};

// The stretches to mark for a row in a text: each whole-word occurrence (case ignored, the
// same words as above); a blank after it belongs to the stretch. An empty row and a row
// holding one of . , ; : ! ? mark nothing.
class MarkFinder
{
public:
    // Walks the text once; each row is then looked up.
    explicit MarkFinder(const QString &text);
    QList<Range> marks(const QString &row) const;

private:
    bool bounded(qsizetype start, qsizetype end) const;
    Range range(qsizetype start, qsizetype end) const;

    QString m_text;
    QHash<QString, QList<Range>> m_runs; // case-folded word -> its stretches
};

// The stretches of every row, row after row.
QList<Range> marks(const QString &text, const QStringList &rows);

} // namespace homographs
