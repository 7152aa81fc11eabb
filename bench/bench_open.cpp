// Times the open command as a user runs it: the file is loaded into the main editor and
// pre-formatted, with the progress panel shown. The file dialog answers at once. The big
// book is 2 MB unless a size in megabytes is given, in Windows-1251 and in UTF-8, and as an
// FB2 and an EPUB made from it here: reading each e-book into its text is timed beside reading
// the text file into its text, and so is opening each.
//   QT_QPA_PLATFORM=offscreen taskset -c 0 ./bench_open [megabytes]
#include "app/windows.h"
#include "mainwindow/mainwindow.h"
#include "platform/books/books.h"
#include "platform/richtext/richtextbox.h"
#include "platform/services/services.h"
#include "platform/text/cp1251.h"
#include "platform/text/textcodec.h"
#include "platform/text/textfile.h"
#include "quietservices.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <zip.h>

#include <cstdio>
#include <functional>

namespace {

QByteArray escaped(const QString &line)
{
    return line.toHtmlEscaped().toUtf8();
}

bool isHeading(const QString &line)
{
    return line.startsWith(u"ГЛАВА") || line.startsWith(u"Глава");
}

// The book as an FB2: a section for each chapter, a paragraph for each line.
QByteArray asFb2(const QStringList &lines)
{
    QByteArray out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<FictionBook><description><title-info>"
                     "<book-title>Капитанская дочка</book-title></title-info></description><body><section>";
    for (const QString &line : lines) {
        if (isHeading(line))
            out += "</section><section><title><p>" + escaped(line) + "</p></title>\n";
        else if (!line.isEmpty())
            out += "<p>" + escaped(line) + "</p>\n";
    }
    return out + "</section></body></FictionBook>\n";
}

// The book as an EPUB: a document for each chapter, as converters split a book.
bool writeEpub(const QString &path, const QStringList &lines)
{
    QList<QByteArray> documents{QByteArray()};
    for (const QString &line : lines) {
        if (isHeading(line))
            documents << "<h1>" + escaped(line) + "</h1>\n";
        else if (!line.isEmpty())
            documents.back() += "<p>" + escaped(line) + "</p>\n";
    }
    QByteArray manifest;
    QByteArray spine;
    QList<std::pair<QByteArray, QByteArray>> members{
        {"mimetype", "application/epub+zip"},
        {"META-INF/container.xml", "<?xml version=\"1.0\"?><container version=\"1.0\" "
                                   "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\"><rootfiles><"
                                   "rootfile full-path=\"book.opf\" "
                                   "media-type=\"application/oebps-package+xml\"/></rootfiles></container>"}};
    for (qsizetype i = 0; i < documents.size(); ++i) {
        const QByteArray name = "c" + QByteArray::number(i) + ".xhtml";
        manifest += "<item id=\"c" + QByteArray::number(i) + "\" href=\"" + name +
                    "\" media-type=\"application/xhtml+xml\"/>";
        spine += "<itemref idref=\"c" + QByteArray::number(i) + "\"/>";
        members.append({name, "<?xml version=\"1.0\" encoding=\"utf-8\"?><html "
                              "xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>c</title></head><body>" +
                                  documents[i] + "</body></html>"});
    }
    members.append({"book.opf", "<?xml version=\"1.0\"?><package xmlns=\"http://www.idpf.org/2007/opf\" "
                                "version=\"2.0\"><metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
                                "<dc:title>Капитанская дочка</dc:title></metadata><manifest>" +
                                    manifest + "</manifest><spine>" + spine + "</spine></package>"});
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    for (const auto &[name, content] : std::as_const(members)) {
        zip_source_t *source = zip_source_buffer(archive, content.constData(), content.size(), 0);
        if (zip_file_add(archive, name.constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0; // the buffers above live until here
}

void timeRead(const char *name, const QString &path, const std::function<qsizetype()> &read)
{
    double best = -1;
    qsizetype characters = 0;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer clock;
        clock.start();
        characters = read();
        const double ms = clock.nsecsElapsed() / 1e6;
        if (best < 0 || ms < best)
            best = ms;
    }
    std::printf("%-26s %8.1f KB: read into text, best of 5:  %7.1f ms (%lld chars)\n", name,
                QFile(path).size() / 1024.0, best, static_cast<long long>(characters));
}

void timeOpen(const char *name, const QString &path, QuietFileChooser &chooser)
{
    chooser.path = path;
    double best = -1;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer clock;
        clock.start();
        MP3().OpenTextFile();
        QCoreApplication::processEvents();
        const double ms = clock.nsecsElapsed() / 1e6;
        if (best < 0 || ms < best)
            best = ms;
    }
    std::printf("%-26s %8.1f KB: open and pre-format, best of 5: %7.1f ms (editor: %lld chars)\n", name,
                QFile(path).size() / 1024.0, best, static_cast<long long>(MP3().RichTextBox2->Text().size()));
}

} // namespace

int main(int argc, char **argv)
{
    BenchHome home;
    QApplication app(argc, argv);
    QuietFileChooser &files = installQuietServices();
    MP3().show();

    const QString book = QStringLiteral(QUENVALE_TEST_DATA_DIR "/kapitanskaya_dochka.txt");
    QFile in(book);
    if (!in.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = in.readAll();
    const qsizetype megabytes = argc > 1 ? QByteArray(argv[1]).toInt() : 2;
    QByteArray big;
    while (big.size() < megabytes * 1024 * 1024)
        big += bytes;
    const QString bigPath = home.filePath(QStringLiteral("big.txt"));
    const QString utf8Path = home.filePath(QStringLiteral("big-utf8.txt"));
    for (const auto &[path, content] :
         {std::pair(bigPath, big), std::pair(utf8Path, cp1251::decode(big).toUtf8())}) {
        QFile out(path);
        out.open(QIODevice::WriteOnly);
        out.write(content);
    }

    const QStringList lines = cp1251::decode(big).split(QStringLiteral("\r\n"));
    const QString fb2Path = home.filePath(QStringLiteral("big.fb2"));
    const QString epubPath = home.filePath(QStringLiteral("big.epub"));
    QFile fb2(fb2Path);
    if (!fb2.open(QIODevice::WriteOnly) || fb2.write(asFb2(lines)) < 0 || !writeEpub(epubPath, lines))
        return 1;
    fb2.close();

    const QByteArray label = QByteArray::number(megabytes) + " MB book";
    timeRead((label + " as text").constData(), bigPath,
             [&] { return textcodec::decodeAsFound(*textfile::readBytes(bigPath)).size(); });
    timeRead((label + " in UTF-8").constData(), utf8Path,
             [&] { return textcodec::decodeAsFound(*textfile::readBytes(utf8Path)).size(); });
    timeRead((label + " as FB2").constData(), fb2Path, [&] { return books::read(fb2Path).text.size(); });
    timeRead((label + " as EPUB").constData(), epubPath, [&] { return books::read(epubPath).text.size(); });

    timeOpen("kapitanskaya_dochka.txt", book, files);
    timeOpen(label.constData(), bigPath, files);
    timeOpen((label + " in UTF-8").constData(), utf8Path, files);
    timeOpen((label + " as FB2").constData(), fb2Path, files);
    timeOpen((label + " as EPUB").constData(), epubPath, files);
    appwindows::destroyAll();
    services::clear();
    return 0;
}
