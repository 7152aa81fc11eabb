#pragma once

class QString;

// Which reader takes a book: every place that takes one asks here first.
namespace bookkind {

// Whether the file at `path` is read by the text codec or the rich text box, not by the e-book
// readers (which also refuse a file that is no text). A path that names no regular file (gone,
// a folder, a pipe) counts as a text: the text reader tells why it cannot be read, and nothing
// waits for a pipe's writer.
bool readAsText(const QString &path);

// The program writes texts only: when `path` is an e-book or another file that is no text,
// tells the user that it is not written over and returns true.
bool refuseWritingOver(const QString &path);

} // namespace bookkind
