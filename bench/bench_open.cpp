// Times the open command as a user runs it: the file is loaded into the main editor and
// pre-formatted, with the progress panel shown. The file dialog answers at once. The big
// book is 2 MB unless a size in megabytes is given, in Windows-1251 and in UTF-8.
//   QT_QPA_PLATFORM=offscreen taskset -c 0 ./bench_open [megabytes]
#include "app/windows.h"
#include "mainwindow/mainwindow.h"
#include "platform/richtext/richtextbox.h"
#include "platform/services/services.h"
#include "platform/text/cp1251.h"
#include "quietservices.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

namespace {

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

    const QByteArray label = QByteArray::number(megabytes) + " MB book";
    timeOpen("kapitanskaya_dochka.txt", book, files);
    timeOpen(label.constData(), bigPath, files);
    timeOpen((label + " in UTF-8").constData(), utf8Path, files);
    appwindows::destroyAll();
    services::clear();
    return 0;
}
