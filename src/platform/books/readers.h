#pragma once

#include "platform/books/books.h"
#include "platform/text/textcodec.h"

#include <QByteArrayView>

#include <optional>

class QIODevice;

// The readers of each format, behind books::read(). Each fills a Reading's text, title and
// message; read() then names the file's own title where the book has none and refuses an
// empty book.
namespace books {

class Lines;

Reading readFb2(const QString &path, const Progress &progress);
Reading readFb2Zip(const QString &path, const Progress &progress);
Reading readEpub(const QString &path, const Progress &progress);
Reading readDocx(const QString &path, const Progress &progress);
Reading readOdt(const QString &path, const Progress &progress);
Reading readHtmlFile(const QString &path, const Progress &progress);
Reading readPdf(const QString &path, const Progress &progress);
Reading readDoc(const QString &path, const Progress &progress);

// An HTML or XHTML document given as UTF-8, its text added to `out`: headings and every
// block a line, pictures, scripts, styles, navigation and note references left out. The
// document's <title> goes to `title` when one is passed.
void readHtml(QByteArrayView utf8, Lines &out, QString *title = nullptr);

// The encoding an XML or HTML declaration names ("windows-1251", "utf-8"), when the codec
// reads it.
std::optional<textcodec::Encoding> encodingNamed(QStringView label);

// The file's name as the user knows it, for messages: "«книга.epub»".
QString quoted(const QString &path);

// What the user is told.
QString damagedArchive(const QString &path);
QString damagedXml(const QString &path, qint64 line);
QString missingPart(const QString &path, const QString &part);

} // namespace books
