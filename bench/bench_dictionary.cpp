// The exception dictionary of 50,000 entries: Autoload_DIC into the editor's list and
// SaveDic (both copies, with the real voice's reload walk), against reading and writing
// the same file line by line.
//   QT_QPA_PLATFORM=offscreen ./bench_dictionary [entries]
// Targets: each under 1 s.
#include "quietservices.h"
#include "app/windows.h"
#include "dictionaries/dicedit.h"
#include "dictionaries/excdic.h"
#include "platform/services/services.h"
#include "platform/text/programfolder.h"
#include "platform/text/textfile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Entries that look like the real ones: one or two words, a stress mark, some " /i".
QStringList makeEntries(int count)
{
    static const QString syllables[] = {QStringLiteral("ко"), QStringLiteral("ра"), QStringLiteral("ми"),
                                        QStringLiteral("ду"), QStringLiteral("зе"), QStringLiteral("ло"),
                                        QStringLiteral("ны"), QStringLiteral("тя")};
    QStringList entries;
    entries.reserve(count);
    for (int i = 0; i < count; ++i) {
        QString word;
        for (int n = i, k = 0; k < 4; ++k, n /= 8)
            word += syllables[n % 8];
        const QString stressed = word.left(4) + QLatin1Char('<') + word.mid(4);
        entries.append(excdic::compose(word, stressed, i % 3 == 0));
    }
    return entries;
}

double ms(QElapsedTimer &clock)
{
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    RealProgram program(argc, argv);
    const QTemporaryDir &home = program.home;

    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 50000;
    const QStringList entries = makeEntries(count);
    const QString copy = excdic::programCopy();
    textfile::writeLines(copy, excdic::fileLines(entries));

    QElapsedTimer clock;
    clock.start();
    const auto lines = textfile::readLines(copy);
    const double readLines = ms(clock);

    DictionaryEditor &editor = DicEdit(); // the window's own load is not the dictionary's
    clock.restart();
    editor.Autoload_DIC();
    const double autoload = ms(clock);

    const QString plain = home.path() + QStringLiteral("/plain.txt");
    clock.restart();
    textfile::writeLines(plain, *lines);
    const double writeLines = ms(clock);

    clock.restart();
    editor.SaveDic();
    const double save = ms(clock);

    std::printf("%d entries (%d listed)\n", count, editor.ListView1->count());
    std::printf("Autoload_DIC: %.1f ms   (textfile::readLines of the same file: %.1f ms)  target < 1000 ms\n",
                autoload, readLines);
    std::printf(
        "SaveDic:      %.1f ms   (textfile::writeLines of the same lines: %.1f ms)  target < 1000 ms\n", save,
        writeLines);
    appwindows::destroyAll();
    services::clear();
    return 0;
}
