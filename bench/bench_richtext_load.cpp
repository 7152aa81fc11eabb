// Times loading a 2 MB Windows-1251 book into the rich text box and reading its text back
// (target: under 1 s each on one core), and the RTF round of the same book.
#include "platform/richtext/richtextbox.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>

#include <cstdio>
#include <functional>

namespace {

// Best of a few rounds, in milliseconds; `prepare` runs untimed before each round.
double bestOf(const std::function<void()> &prepare, const std::function<void()> &work)
{
    constexpr int kRounds = 5;
    qint64 best = -1;
    for (int i = 0; i < kRounds; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        const qint64 ns = timer.nsecsElapsed();
        if (best < 0 || ns < best)
            best = ns;
    }
    return best / 1e6;
}

void report(const char *what, double ms)
{
    std::printf("%-44s %9.2f ms\n", what, ms);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QFile corpus(QStringLiteral(QUENVALE_TEST_DATA_DIR "/kapitanskaya_dochka.txt"));
    if (!corpus.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read the corpus book\n");
        return 1;
    }
    const QByteArray book = corpus.readAll();
    QByteArray big;
    while (big.size() < 2 * 1024 * 1024)
        big += book;

    QTemporaryDir dir;
    const QString txtPath = dir.filePath(QStringLiteral("book.txt"));
    const QString rtfPath = dir.filePath(QStringLiteral("book.rtf"));
    QFile out(txtPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(big) != big.size())
        return 1;
    out.close();

    RichTextBox box;
    box.setFont(QFont(QStringLiteral("Times New Roman"), 14));
    box.resize(1000, 700);
    std::printf("book: %lld bytes\n", static_cast<long long>(big.size()));

    qsizetype length = 0;
    const auto clear = [&] { box.setText(QString()); };
    report("LoadFile, hidden box", bestOf(clear, [&] { box.LoadFile(txtPath); }));
    report("Text() after a load (built once)",
           bestOf([&] { box.LoadFile(txtPath); }, [&] { length = box.Text().size(); }));
    report("Text() again (unchanged text)", bestOf([] {}, [&] { length = box.Text().size(); }));
    std::printf("Text(): %lld characters\n", static_cast<long long>(length));
    report("SelStart/SelLength near the end", bestOf([] {},
                                                     [&] {
                                                         box.setSelStart(int(length) - 100);
                                                         box.setSelLength(50);
                                                     }));
    report("Find of a missing word", bestOf([] {}, [&] { box.Find(QStringLiteral("отсутствует")); }));

    box.show();
    report("LoadFile, shown box, with events", bestOf(clear, [&] {
               box.LoadFile(txtPath);
               QCoreApplication::processEvents();
           }));
    // Each load gives the editor a new document.
    const auto layOutAll = [&] {
        box.findChild<QTextEdit *>()->document()->documentLayout()->documentSize();
    };
    report("LoadFile, shown box, whole layout", bestOf(clear, [&] {
               box.LoadFile(txtPath);
               layOutAll();
           }));

    QString rtf;
    report("TextRTF()", bestOf([] {}, [&] { rtf = box.TextRTF(); }));
    std::printf("RTF: %lld bytes\n", static_cast<long long>(rtf.size()));
    if (!box.SaveFile(rtfPath))
        return 1;
    report("LoadFile of the RTF, shown box", bestOf(clear, [&] { box.LoadFile(rtfPath); }));
    report("LoadFile of the RTF, shown box, whole layout", bestOf(clear, [&] {
               box.LoadFile(rtfPath);
               layOutAll();
           }));
    box.hide();
    report("LoadFile of the RTF, hidden box", bestOf(clear, [&] { box.LoadFile(rtfPath); }));
    return 0;
}
