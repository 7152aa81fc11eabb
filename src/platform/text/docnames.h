#pragma once

#include <QString>
#include <QStringList>

// Naming rules of the document commands: the book title of an opened file, the batch
// queue file, the file dialogs, and when a stored path names a file at all.
namespace docnames {

// BookTitle of a file name without its folder: blanks become "_", the part from the last
// "." on is cut, dots left become "_". A name without "." stays whole.
// "Война и мир.txt" -> "Война_и_мир", "Том.1.txt" -> "Том_1", ".txt" -> "".
QString bookTitleFromFileName(const QString &fileName);
// The title the library and the batch give a file: blanks become "_" and the name is cut
// before its first "." ("Моя книга.txt" -> "Моя_книга", "a.b.txt" -> "a").
QString titleBeforeFirstDot(const QString &fileName);
// The same for a full path (its folder is dropped first).
QString bookTitleFromPath(const QString &path);

// BookTitle of an e-book from the title the book gives itself: runs of blanks and line breaks
// become one "_", and the title is made fit to name a file (see safeFileName).
// "Война и мир\n Том 1" -> "Война_и_мир_Том_1".
QString eBookTitle(const QString &title);

// A file named after `title` with `suffix` (".txt") in the folder of `file`: where the text of
// an e-book is proposed to be saved, beside the book and never over it.
QString besideFile(const QString &file, const QString &title, const QString &suffix);

// Every blank made "_", as the add-to-batch and record commands leave BookTitle.
QString blanksToUnderscores(const QString &title);

// True when the working folder has a blank in its name or path (warned about, not refused,
// by the add-to-batch command).
bool hasBlank(const QString &folder);

// A title made fit to name one file inside a folder: "/" and NUL become "_". A title
// restored from the settings or a bookmark, not from a file name, may hold them; cleaned,
// "../../x" names the file ".._.._x" in the folder itself and never one outside it.
QString safeFileName(const QString &title);

// The batch queue file of a book: <working folder>/<title>.txt, blanks in the title made
// "_" and the title made safe as above, so the file always lands in the working folder.
QString batchFilePath(const QString &workingFolder, const QString &title);

// Whether a stored path (CurTextPath, MP3.Text7) names a file: only an absolute path does.
// The fresh-window placeholder "полный путь к файлу" and an empty string do not.
bool isFilePath(const QString &path);

struct FileDialogSpec
{
    QString title;
    QString filter;         // Qt form, entries separated by ";;"
    QString selectedFilter; // the entry preselected when the dialog opens
};

// "*.*" is offered as "*" so that names without a dot show as well. The open dialog offers
// "Книги" (`bookPatterns`: texts, RTF and every e-book) beside the text files, and preselects it.
FileDialogSpec openTextDialog(const QStringList &bookPatterns);
FileDialogSpec saveTextDialog();
FileDialogSpec saveRtfDialog();

} // namespace docnames
