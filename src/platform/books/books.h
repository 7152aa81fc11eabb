#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Books that come as something other than a plain text or RTF file: e-books (FB2 and FB2.ZIP,
// EPUB, DOCX, ODT, HTML, PDF with a text layer, Word 97-2003 DOC) are read into plain text,
// and a file that is no text at all (a picture, an archive, DjVu, MOBI, a program) is refused.
// Every place that takes a book asks here first, so a file is a text, an e-book or refused in
// one place. Nothing here ever writes the file it reads.
namespace books {

enum class Format
{
    Text, // plain text: the text codec reads it
    Rtf,  // "{\rtf": the rich text box reads it
    Fb2,
    Fb2Zip,
    Epub,
    Docx,
    Odt,
    Html,
    Pdf,
    Doc,
    NoText, // a file the text rules cannot read: refused
};

// What a look at the file's name and first bytes says it is; cheap, reads no more than a few
// kilobytes. A file that cannot be read is Text, and its reader reports why.
Format sniff(const QString &path);
inline bool isEBook(Format format)
{
    return format != Format::Text && format != Format::Rtf && format != Format::NoText;
}

struct Reading
{
    // True when the book's text was read, whole or in part (see `message`).
    bool ok = false;
    Format format = Format::Text;
    // The book's text: its headings, paragraphs and lines each a line of their own, separated
    // by "\n" (no CR), notes after the main text.
    QString text;
    // The book's own title (FB2 book-title, EPUB dc:title, the document's title), else the
    // file's name without its extension.
    QString title;
    // For the user, in Russian: why the file is refused (`ok` false), or what part of a
    // damaged book could not be read (`ok` true). Empty when all went well.
    QString message;
};

// Called now and then with the share read so far (0 to 1000); returns false to cancel, and
// the reading then ends with `ok` false and an empty message.
using Progress = std::function<bool(int permille)>;

// Reads an e-book, or tells why a file is refused. For Text and Rtf, `ok` is false and
// `message` empty: those files are read by the text codec and the rich text box.
Reading read(const QString &path, const Progress &progress = {});

// The name patterns of every book the program takes (texts, RTF and every e-book format),
// for the Open dialog's "Книги" filter and the library's list: "*.txt", "*.fb2", ...
QStringList namePatterns();

} // namespace books
