// Times the text tools on a 2 MB book (the test book repeated) in the main editor:
//  - the chapter search with the kinds "ГЛАВА", "1 пустая строка", "1. - 99." and Roman numerals,
//    against a bare QString::indexOf loop over the same patterns with the same step;
//  - the list run of 300 entries keyed on the book's words, against one QString::replace per entry.
// and the find window's replace-all "о" -> "О" on the test book itself (212 kB), against
// replacing hit by hit (the replace-and-find-next button until nothing is found), which
// takes tens of seconds; both must leave the same text.
//   QT_QPA_PLATFORM=offscreen taskset -c 0 ./bench_texttools
#include "app/windows.h"
#include "mainwindow/mainwindow.h"
#include "platform/richtext/richtextbox.h"
#include "platform/services/services.h"
#include "platform/text/cp1251.h"
#include "quietservices.h"
#include "texttools/chapters.h"
#include "texttools/findwindow.h"
#include "texttools/glavawindow.h"
#include "texttools/replacelist.h"

#include <QApplication>
#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// Best of `runs`, in ms; `prepare` runs untimed before each run.
double best(int runs, const std::function<void()> &prepare, const std::function<void()> &work)
{
    double result = -1;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer clock;
        clock.start();
        work();
        const double ms = clock.nsecsElapsed() / 1e6;
        if (result < 0 || ms < result)
            result = ms;
    }
    return result;
}

// 300 entries on words of four letters or more, skipping the 50 commonest, so that
// the run makes thousands of hits and not hundreds of thousands.
QStringList wordEntries(const QString &book)
{
    QHash<QString, int> counts;
    static const QRegularExpression word(QStringLiteral("[А-Яа-яЁё]{4,}"));
    for (auto it = word.globalMatch(book); it.hasNext();)
        ++counts[it.next().captured().toLower()];
    QList<std::pair<int, QString>> ranked;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        ranked.append({it.value(), it.key()});
    std::sort(ranked.begin(), ranked.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    QStringList entries;
    for (qsizetype i = 50; i < ranked.size() && entries.size() < 300; ++i)
        entries.append(ranked[i].second + u'=' + ranked[i].second.toUpper());
    return entries;
}

} // namespace

int main(int argc, char **argv)
{
    BenchHome home;
    QApplication app(argc, argv);
    installQuietServices();
    MP3().show();

    QFile in(QStringLiteral(QUENVALE_TEST_DATA_DIR "/kapitanskaya_dochka.txt"));
    if (!in.open(QIODevice::ReadOnly))
        return 1;
    const QString one = cp1251::decode(in.readAll());
    QString book;
    while (book.size() < 2 * 1024 * 1024)
        book += one;
    RichTextBox &editor = *MP3().RichTextBox2;

    // Chapter search.
    const int kindBoxes[] = {1, 7, 10, 11};
    QStringList patterns;
    for (const chapters::Kind &kind : chapters::kinds({}, {}, {})) {
        if (std::find(std::begin(kindBoxes), std::end(kindBoxes), kind.box) != std::end(kindBoxes))
            patterns += kind.patterns;
    }
    qsizetype bareHits = 0;
    const double bare = best(
        5, [] {},
        [&] {
            bareHits = 0;
            for (const QString &p : patterns) {
                for (qsizetype at = book.indexOf(p, 100); at >= 0; at = book.indexOf(p, at + 100))
                    ++bareHits;
            }
        });
    editor.setText(book);
    GlavaWindow &chapterWindow = glava();
    chapterWindow.show();
    for (const int box : kindBoxes)
        chapterWindow.check(box)->setChecked(true);
    const double search = best(
        5, [] {}, [&] { chapterWindow.SearchAllChapters(); });
    std::printf(
        "chapter search, 4 kinds (%lld patterns), 2 MB: %8.1f ms, %d rows | bare indexOf loop: %7.1f ms, "
        "%lld hits | ratio %.1f\n",
        static_cast<long long>(patterns.size()), search, chapterWindow.ListView1->topLevelItemCount(), bare,
        static_cast<long long>(bareHits), search / bare);

    // The list run.
    const QStringList entries = wordEntries(one);
    qsizetype hits = 0;
    const double baseline = best(
        3, [] {},
        [&] {
            QString text = book;
            hits = 0;
            for (const QString &line : entries) {
                const auto entry = replacelist::parseEntry(line);
                hits += text.count(entry->search, Qt::CaseInsensitive);
                text.replace(entry->search, entry->replacement, Qt::CaseInsensitive);
            }
        });
    const double pure = best(
        3, [] {}, [&] { replacelist::apply(book, entries); });
    std::printf("list run over a plain string (the recording's way): %8.1f ms\n", pure);
    FindWindow &find = Find();
    find.ListView1->addItems(entries);
    find.show();
    const double run = best(
        3, [&] { editor.setText(book); }, [&] { find.ReplaceScroll(); });
    std::printf(
        "list run, %lld entries (%lld hits), 2 MB, in the editor: %8.1f ms | QString::replace per entry: "
        "%7.1f ms | ratio %.1f\n",
        static_cast<long long>(entries.size()), static_cast<long long>(hits), run, baseline, run / baseline);

    // Replace-all on the book itself, against replacing hit by hit.
    find.Text1->setText(QStringLiteral("о"));
    find.Text2->setText(QStringLiteral("О"));
    find.searchButton(5)->setChecked(false);
    const auto fromStart = [&] {
        editor.setText(one);
        editor.setSelStart(0);
    };
    const double all = best(
        3, fromStart, [&] { find.ReplaceAll(); });
    const QString allText = editor.Text();
    const qsizetype hitsAll = one.count(QStringLiteral("о"), Qt::CaseInsensitive);
    const double stepwise = best(
        1, fromStart, [&] {
            find.NotFoundFlag = false;
            while (!find.NotFoundFlag)
                find.ReplaceOne();
        });
    std::printf("replace-all \"о\"->\"О\" (%lld hits), %lld kB, in the editor: %8.1f ms | hit by hit: %9.1f ms | "
                "same text: %s\n",
                static_cast<long long>(hitsAll), static_cast<long long>(one.size() / 1024), all, stepwise,
                allText == editor.Text() ? "yes" : "NO");

    appwindows::destroyAll();
    services::clear();
    return 0;
}
