#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

// What a book folder remembers of how its blocks were cut: the block length in characters
// and the book they were cut from. A run that cuts otherwise, or cuts another book, must not
// take the folder's blocks for its own: they would leave text out or repeat it.
namespace cutrecord {

// The record's file in the book folder: hidden, and nothing like a block's file name.
QString fileName();
// Whether a file name is that of a draft of the record (".blockcut.XXXXXX"), the name a copy
// writes it under before it takes the record's name.
bool isDraftName(const QString &name);

struct Record
{
    std::int32_t blockLimit = 0;
    qint64 bookSize = 0;     // characters of the book's text
    QByteArray bookChecksum; // SHA-256 of the book's text in UTF-8, in hex
};

// The record of the book at `path` cut at `blockLimit`. The book counts as the recording reads
// it: its lines, whatever their ends or encoding, joined by one LF, so a book saved with other
// line ends or in another encoding is still the same book. Nothing when it cannot be read, or
// does not read right; `error` gets why.
std::optional<Record> ofBook(const QString &path, std::int32_t blockLimit, QString *error = nullptr);

// The file's text, one "key=value" a line.
QString toText(const Record &record);
// A record's text read back; nothing when a value is missing or not a number.
std::optional<Record> parse(const QString &text);

enum class Verdict
{
    NothingRemembered, // no record: a new folder, or one made before folders kept one
    Same,              // this cut of this book
    OtherCut,          // this book, cut at another length
    OtherBook,         // the book's text differs: edited since, or another book
    OtherCutAndBook,
    Unreadable, // a record is there but cannot be read: nothing can be told
};

struct Comparison
{
    Verdict verdict = Verdict::NothingRemembered;
    // What differs, for the user: "длина блока была 720 знаков, теперь 1440", "текст книги
    // другой", both, or that the record cannot be read. Empty when nothing differs.
    QString difference;
};

// The folder's record (its file's text, nothing when there is none) against this run's.
Comparison compare(const std::optional<QString> &stored, const Record &current);

// Whether a folder with this verdict may hold another book than this run's. A finished
// folder is this book's whatever its cut was.
bool mayHoldAnotherBook(Verdict verdict);

} // namespace cutrecord
