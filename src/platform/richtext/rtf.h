#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QList>
#include <QString>

class QTextCursor;
class QTextDocument;

// A small RTF reader and writer: paragraphs, bold, italic, underline, colour, font name and
// size. Text is read as a list of runs of one format each; a paragraph break inside a run's
// text is '\n'. Escaped bytes (\'xx) and raw 8-bit bytes are Windows-1251.
namespace rtf {

struct Format
{
    QString font;    // empty: the document's default font
    double size = 0; // points; 0: the document's default size
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor color; // invalid: the automatic text colour

    bool operator==(const Format &) const = default;
};

struct Run
{
    QString text;
    Format format;

    bool operator==(const Run &) const = default;
};

// True when the bytes start with "{\rtf", the mark every RTF file begins with.
bool isRtf(const QByteArray &bytes);

// Reads what it understands and skips the rest; it never fails. Neighbouring runs of one
// format are merged, and empty runs are dropped.
QList<Run> parse(const QByteArray &rtf);

// RTF with \ansicpg1251: characters of Windows-1251 as \'xx, others as \uN?. Runs with an
// empty font name or a zero size are written with `defaultFont`.
QByteArray write(const QList<Run> &runs, const QFont &defaultFont);

// The document's text as runs, paragraphs joined by '\n'.
QList<Run> runsOf(const QTextDocument &doc);

// Inserts the runs at the cursor, each with exactly its own format.
void insertRuns(QTextCursor &cursor, const QList<Run> &runs);

} // namespace rtf
