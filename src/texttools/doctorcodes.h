#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// The text doctor's character codes: Windows-1251 codes typed into boxes become
// sequences to find and replace, and a selection is shown with the code of each character.
namespace doctorcodes {

// The character of one code box: a decimal Windows-1251 code from 0 to 255 (0 is NUL, 152
// the unassigned byte, which reads as U+0098). Nothing for an empty box or a box that holds
// no such number.
std::optional<QChar> character(const QString &box);

// The characters of the boxes in order; boxes without a character are skipped wherever
// they stand. The editor holds every line break alike, whether the file had CR LF, a lone
// CR or a lone LF there, and gives it as CR LF: so 13 10, 13 and 10 each stand for that one
// break, CR LF, and a lone CR cannot be told from a lone LF or from CR LF.
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

} // namespace doctorcodes
