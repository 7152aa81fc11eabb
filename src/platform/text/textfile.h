#pragma once

#include "platform/text/textcodec.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <optional>

// Windows-1251 text files, read and written as the program's users keep them; books may
// come in other encodings too (textcodec decides), and lists may be UTF-8 after the byte
// order mark.
namespace textfile {

// What ends a line. The line-input rule: CR or CR LF, a lone LF stays inside its line.
// Lists and dictionaries may have been edited anywhere, and so may a book: the recording,
// the cut of a recording and the library's preview and search take LF, CR LF or a lone CR.
enum class LineEnds
{
    CarriageReturn,
    Any
};

// Splits text into lines; a final line end does not start an empty last line.
QStringList splitLines(const QString &text, LineEnds ends = LineEnds::CarriageReturn);

// Splits list text (any line end) into comma-separated fields: a comma ends a field as a line end does, an
// empty line is one empty field, and a field that begins with a double quote runs to the
// next double quote (commas included) or to the line end, and loses its quotes; anything
// between a closing quote and the next comma is dropped. Unquoted fields keep their blanks.
QStringList splitFields(const QString &text);

// Every reader and writer below gives the system's reason for a failure in `error` when
// one is passed ("Permission denied", "No space left on device"). Readers open regular
// files only: a pipe, a device or a folder is refused at once.

// The file's bytes, or nothing when it cannot be read.
std::optional<QByteArray> readBytes(const QString &path, QString *error = nullptr);
// The whole list file decoded (UTF-8 after the byte order mark, else Windows-1251), or
// nothing when it cannot be read.
std::optional<QString> readText(const QString &path, QString *error = nullptr);
// At most `maxBytes` from the start of the file, decoded as Open decodes the whole book (a
// character cut at the end is left out), or nothing when it cannot be read or is in an
// encoding the program does not read. Reads the whole file to decide the encoding, as Open does.
std::optional<QString> readHead(const QString &path, qint64 maxBytes, QString *error = nullptr);
// The lines of a list or dictionary file (any line end), or nothing when it cannot be read.
std::optional<QStringList> readLines(const QString &path, QString *error = nullptr);
// The file's fields (splitFields), or nothing when it cannot be read.
std::optional<QStringList> readFields(const QString &path, QString *error = nullptr);

// How many characters a book file holds, counted in one pass without keeping its text:
// its size for a single-byte code page (a UTF-8 part after a long single-byte start counted
// so too), fewer for UTF-8 and UTF-16. 0 when it cannot be read.
qint64 bookCharacters(const QString &path);

// Replaces the file with `bytes` atomically: an interrupted write never leaves a truncated
// file behind. False when the file could not be written completely.
bool writeBytes(const QString &path, const QByteArray &bytes, QString *error = nullptr);
// Writes the text followed by one CR LF.
bool writeText(const QString &path, const QString &text, QString *error = nullptr);
bool writeText(const QString &path, const QString &text, textcodec::Encoding encoding,
               QString *error = nullptr);
// Writes each line followed by CR LF: in Windows-1251, or in UTF-8 after the byte order
// mark when Windows-1251 cannot hold them, so that the readers above read them back whole.
bool writeLines(const QString &path, const QStringList &lines, QString *error = nullptr);
bool writeLines(const QString &path, const QStringList &lines, textcodec::Encoding encoding,
                QString *error = nullptr);
// Appends each line followed by CR LF, in the file's encoding as the readers above take it; a
// Windows-1251 file that cannot hold the lines is written again in UTF-8 after the mark.
bool appendLines(const QString &path, const QStringList &lines, QString *error = nullptr);

// The message the user sees for a failed file operation: the message, then the file and
// the reason on a second line ("Не удалось записать файл\n/книги/том.txt: Permission denied").
QString failureMessage(const QString &message, const QString &path, const QString &reason);
// The two failures every file command reports: "Не удалось открыть файл" and
// "Не удалось записать файл", each naming the file and the reason.
QString openFailure(const QString &path, const QString &reason);
QString writeFailure(const QString &path, const QString &reason);

// Reads a book line by line (same rules as splitLines) without loading it whole (a book joined
// from parts in different encodings excepted); its encoding is decided by a first pass over
// the file. A book that does not read right (an encoding the program does not read, a mixed
// text) is not opened, and says why.
class LineReader
{
public:
    explicit LineReader(const QString &path, LineEnds ends = LineEnds::CarriageReturn);
    bool isOpen() const { return m_file.isOpen(); }
    textcodec::Encoding encoding() const { return m_encoding; }
    // Why the file could not be opened or read on.
    QString errorString() const;
    // What the user must confirm before the book is recorded: its reading may be wrong
    // (textcodec::doubt). Empty when it reads right.
    QString doubt() const { return m_doubt; }
    // The next line, or nothing at the end of the file.
    std::optional<QString> next();
    bool atEnd() const;

private:
    bool fill();
    // Where the next line ends in the buffer, or -1.
    qsizetype lineEnd() const;

    QFile m_file;
    LineEnds m_ends;
    textcodec::Encoding m_encoding = textcodec::Encoding::Windows1251;
    QString m_error;
    QString m_doubt;
    QString m_buffer; // decoded text from m_pos on is not returned yet
    qsizetype m_pos = 0;
    QByteArray m_cut; // the start of a character the last chunk cut off
};

} // namespace textfile
