#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

#include <optional>

// Windows-1251 text files, read and written as the program's users keep them.
namespace textfile {

// Splits text by the line-input rule: a line ends at CR or CR LF, a lone LF stays
// inside its line, and a final line end does not start an empty last line.
QStringList splitLines(const QString &text);

// Splits text into comma-separated fields: a comma ends a field as a line end does, an
// empty line is one empty field, and a field that begins with a double quote runs to the
// next double quote (commas included) or to the line end, and loses its quotes; anything
// between a closing quote and the next comma is dropped. Unquoted fields keep their blanks.
QStringList splitFields(const QString &text);

// The whole file decoded, or nothing when it cannot be read.
std::optional<QString> readText(const QString &path);
std::optional<QStringList> readLines(const QString &path);
// The file's fields (splitFields), or nothing when it cannot be read.
std::optional<QStringList> readFields(const QString &path);

// Writes the text followed by one CR LF. False when the file could not be written
// completely.
bool writeText(const QString &path, const QString &text);
// Writes each line followed by CR LF.
bool writeLines(const QString &path, const QStringList &lines);
// Appends each line followed by CR LF.
bool appendLines(const QString &path, const QStringList &lines);

// Reads a file line by line (same rule as splitLines) without loading it whole.
class LineReader
{
public:
    explicit LineReader(const QString &path);
    bool isOpen() const { return m_file.isOpen(); }
    // The next line, or nothing at the end of the file.
    std::optional<QString> next();
    bool atEnd() const;

private:
    bool fill();

    QFile m_file;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
};

} // namespace textfile
