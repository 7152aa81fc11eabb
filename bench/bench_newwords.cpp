// The new-word finder (F3) and the homograph marking (F4) on a 2 MB book made of the test
// corpus repeated, every tenth word with a letter doubled, with the shipped word lists.
// Baselines: the finder's passes done literally (each exclusion word scanning the word
// list, timed on a sample of the known-word list and scaled up), and marking each
// occurrence through SelStart/SelLength/setSelColor/setSelBold.
//   QT_QPA_PLATFORM=offscreen ./bench_newwords
// Targets: F3 to the new-words window shown < 2 s; F4 < 2 s.
#include "quietservices.h"
#include "app/windows.h"
#include "dictionaries/finder.h"
#include "dictionaries/homographs.h"
#include "dictionaries/newwords.h"
#include "mainwindow/mainwindow.h"
#include "platform/richtext/richtextbox.h"
#include "platform/services/services.h"
#include "platform/text/programfolder.h"
#include "platform/text/textfile.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>

namespace {

QString makeBook(qsizetype size)
{
    QString corpus;
    for (const char *name : {"kapitanskaya_dochka.txt", "pikovaya_dama.txt", "hameleon.txt"})
        corpus += textfile::readText(QStringLiteral(QUENVALE_TEST_DATA_DIR "/") + QLatin1String(name))
                      .value_or(QString());
    QString book;
    while (book.size() < size)
        book += corpus;
    book.truncate(size);
    // Every tenth word gets its second letter doubled, so the finder has new words to find.
    qsizetype words = 0;
    for (qsizetype i = 1; i + 1 < book.size(); ++i)
        if (book[i - 1] == u' ' && book[i].isLetter() && book[i + 1].isLetter() && ++words % 10 == 0)
            book.insert(i + 1, book[i + 1]);
    return book;
}

double ms(QElapsedTimer &clock)
{
    return clock.nsecsElapsed() / 1e6;
}

// One exclusion pass as first written: every exclusion word scans the list from its start
// and empties the first entry equal to it, case ignored.
void literalPass(QStringList &list, const QStringList &exclusions)
{
    for (const QString &e : exclusions)
        for (QString &entry : list)
            if (entry.compare(e, Qt::CaseInsensitive) == 0) {
                entry.clear();
                break;
            }
}

} // namespace

int main(int argc, char **argv)
{
    RealProgram program(argc, argv);
    const QTemporaryDir &home = program.home;
    const QString shipped = QStringLiteral(QUENVALE_TEST_DATA_DIR "/../../data/DIC/");
    for (const char *name : {"exc_rus.txt", "homograph.txt", "70000.txt"})
        QFile::copy(shipped + QLatin1String(name),
                    home.path() + QStringLiteral("/DIC/") + QLatin1String(name));

    const QString book = makeBook(2 * 1024 * 1024);
    MainWindow &main = MP3();
    main.RichTextBox2->setText(book);

    // F3: the option panel is answered at once, the clock stops when the window is shown.
    QTimer::singleShot(0, &main, [&main] { main.mainPanels().Check5->setChecked(true); });
    QElapsedTimer clock;
    clock.start();
    main.runCommand(QStringLiteral("FindNewWords"));
    const double f3 = ms(clock);
    const int found = NewNames().ListView1->topLevelItemCount();

    // The literal passes over the same list, the known-word pass timed on a sample.
    QStringList list = finder::repeatedWords(finder::searchText(book, {}), 1);
    const qsizetype listed = list.size();
    double literal = 0;
    for (finder::Pass pass : finder::kPasses) {
        const QStringList exclusions = finder::exclusionWords(
            pass, textfile::readFields(programfolder::file(finder::listFile(pass))).value_or(QStringList{}));
        const qsizetype sample = std::min<qsizetype>(exclusions.size(), 2000);
        clock.restart();
        literalPass(list, exclusions.mid(0, sample));
        literal += sample ? ms(clock) * double(exclusions.size()) / double(sample) : 0;
    }

    // F4, against the selection calls per occurrence on the same marks.
    clock.restart();
    main.runCommand(QStringLiteral("FindOmograf"));
    const double f4 = ms(clock);
    const QStringList rows = homographs::rows(
        textfile::readText(programfolder::file(QStringLiteral("DIC/homograph.txt"))).value_or(QString()));
    const QList<homographs::Range> marks = homographs::marks(book, rows);
    RichTextBox &box = *main.RichTextBox2;
    const qsizetype sample = std::min<qsizetype>(marks.size(), 500);
    clock.restart();
    for (qsizetype i = 0; i < sample; ++i) {
        box.setSelStart(marks[i].start);
        box.setSelLength(marks[i].length);
        box.setSelColor(QColor(Qt::red));
        box.setSelBold(true);
        box.setSelStart(marks[i].start);
        box.setSelColor(QColor(Qt::black));
        box.setSelBold(false);
    }
    const double perSelection = sample ? ms(clock) * double(marks.size()) / double(sample) : 0;

    std::printf("book: %lld characters, %lld distinct words, %d new words found, %lld homograph marks\n",
                static_cast<long long>(book.size()), static_cast<long long>(listed), found,
                static_cast<long long>(marks.size()));
    std::printf("F3 to the new-words window: %.0f ms   (literal passes: %.0f ms, x%.0f)  target < 2000 ms\n",
                f3, literal, f3 > 0 ? literal / f3 : 0);
    std::printf("F4 marking:                 %.0f ms   (selection per occurrence: %.0f ms, x%.1f)  target < "
                "2000 ms\n",
                f4, perSelection, f4 > 0 ? perSelection / f4 : 0);
    appwindows::destroyAll();
    services::clear();
    return 0;
}
