#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// The text doctor's character codes: Windows-1251 codes typed into boxes become
// sequences to find and replace, and a selection is shown with the code of each character.
namespace doctorcodes {

// The character of one code box: a decimal Windows-1251 code from 1 to 255. Nothing for an
// empty box, a box that holds no number, 0 (NUL) and 152 (unassigned in the code page).
std::optional<QChar> character(const QString &box);

// The characters of the boxes in order; boxes without a character are skipped wherever
// they stand.
QString sequence(const QStringList &boxes);

struct Viewer
{
    QString characters; // each character followed by one blank
    QString codes;      // each code as three digits followed by one blank
};

// The viewer of a selection. A character the code page lacks shows as "063", the code of
// the "?" it is written as.
Viewer viewer(QStringView selection);

// The start of the first occurrence of `sequence` at or after `from`, case counting, or
// -1. An empty sequence counts as found at `from` unless `from` is at the end of the text.
int find(QStringView text, QStringView sequence, int from);

// Where the selection of an occurrence found at `found` starts. The box holds a line break
// as one character, so no selection starts between its CR and LF: an occurrence that
// starts at the LF is selected with its CR.
int selectionStart(QStringView text, int found);

} // namespace doctorcodes
