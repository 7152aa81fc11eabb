#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// Bookmark files: "<title>.zak" in the program folder's BOOKMARK folder, three lines of
// Windows-1251 text: the book's path, its title and the caret offset, and a fourth line that
// says how the book was shown when the bookmark was taken, so that a reopen shows the same
// text and the caret lands where the reading stopped. A path or title that Windows-1251
// cannot hold is written in UTF-8 after a byte order mark instead.
namespace bookmarkfile {

// How the book was shown, and so how a reopen loads it.
enum class Shown
{
    AsFile,       // "plain": as its file has it (the start-up's reopen, the library's add)
    Preformatted, // "preformatted": pre-formatted as Open does it
    // No fourth line, as in every older file: pre-formatted by every step, as Open did
    // before it left an already pre-formatted text alone.
    PreformattedEveryStep,
};

struct Bookmark
{
    QString path;
    QString title;
    std::int32_t caret = 0;
    Shown shown = Shown::Preformatted;
};

// The lines; the caret is written with a blank in the sign position (" 21").
QStringList lines(const Bookmark &bookmark);
// The bookmark in the lines, or nothing when one of the first three is missing or the
// third is not a 32-bit number (blanks around it are allowed).
std::optional<Bookmark> parse(const QStringList &lines);

// The bookmark folder, and the file of a title in it (an empty title gives ".zak"; a title
// holding "/" is made safe as the batch file's is, so the file stays in the folder).
QString folder();
QString fileFor(const QString &title);
// The names of the bookmark files, sorted ignoring case, or nothing when the folder
// cannot be listed.
std::optional<QStringList> list();

// The lines of a bookmark file, in either encoding, or nothing when it cannot be read.
std::optional<QStringList> read(const QString &file, QString *error = nullptr);

// Writes the title's bookmark, creating the folder when missing. False when it could not
// be written; `error` gets the reason.
bool write(const Bookmark &bookmark, QString *error = nullptr);

} // namespace bookmarkfile
