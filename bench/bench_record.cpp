// Records tests/data/kapitanskaya_dochka.txt to MP3 in blocks of 10 minutes with the
// command-line recorder (the program's own recording), against a baseline that speaks the same
// text with `espeak-ng -v ru -w` at the program's narration speed, resamples it with `sox` to the
// program's own 16 kHz and encodes it with `lame` using the same options. Then the same book by 4 copies of the program at once (copy k takes
// blocks k, k + 4, ...), against one copy, and checks that they make exactly the same blocks.
//
//   bench_record [BOOK]
#include "platform/speech/prosodymap.h"
#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"
#include "settings/outputformats.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

namespace {

struct Run
{
    double seconds = 0;
    long peakKb = 0;
    bool ok = false;
};

QProcessEnvironment recorderEnvironment(const QString &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUENVALE_HOME"), home + QStringLiteral("/program"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

// Runs `copies` recorders of the book at once, copy k taking blocks k, k + copies, ...
Run record(const QString &book, const QString &folder, int copies, const QString &home)
{
    QElapsedTimer clock;
    clock.start();
    std::vector<std::unique_ptr<QProcess>> running;
    for (int k = 1; k <= copies; ++k) {
        auto p = std::make_unique<QProcess>();
        // Each copy keeps its own settings, as separate program folders would.
        p->setProcessEnvironment(recorderEnvironment(home + QStringLiteral("/copy%1").arg(k)));
        p->start(QStringLiteral(QUENVALE_RECORD_TOOL),
                 {book, folder, QStringLiteral("--minutes"), QStringLiteral("10"), QStringLiteral("--start"),
                  QString::number(k), QStringLiteral("--step"), QString::number(copies)});
        running.push_back(std::move(p));
    }
    Run run{0, 0, true};
    for (auto &p : running) {
        p->waitForFinished(-1);
        run.ok = run.ok && p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0;
        const QString out = QString::fromUtf8(p->readAllStandardOutput());
        run.peakKb = std::max(run.peakKb, out.section(QStringLiteral("peak_kb "), 1).trimmed().toLong());
    }
    run.seconds = clock.elapsed() / 1000.0;
    return run;
}

bool runTool(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(-1);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program), p.readAllStandardError().constData());
        return false;
    }
    return true;
}

// The baseline: the whole text spoken by the command-line eSpeak NG at the narration speed
// (rate 2, the form's), resampled to the 16 kHz the program speaks MP3 blocks at, then encoded
// by lame with the form's MP3 options.
double baseline(const QString &book, const QString &dir)
{
    const auto text = textfile::readText(book);
    const QString utf8 = dir + QStringLiteral("/book-utf8.txt");
    QFile f(utf8);
    if (!text || !f.open(QIODevice::WriteOnly))
        return -1;
    f.write(text->toUtf8());
    f.close();
    const int wpm = speech::engineProsody({100, 2, 0}).wordsPerMinute;
    QElapsedTimer clock;
    clock.start();
    const QString wav = dir + QStringLiteral("/baseline.wav");
    if (!runTool(QStringLiteral("espeak-ng"), {QStringLiteral("-v"), QStringLiteral("ru"), QStringLiteral("-s"),
                                               QString::number(wpm), QStringLiteral("-w"), wav, QStringLiteral("-f"), utf8}))
        return -1;
    const QString wav16 = dir + QStringLiteral("/baseline16.wav");
    if (!runTool(QStringLiteral("sox"), {wav, QStringLiteral("-r"), QStringLiteral("16000"), wav16}))
        return -1;
    QStringList lame = QProcess::splitCommand(outputformats::defaultMp3Options());
    lame << wav16 << dir + QStringLiteral("/baseline.mp3");
    if (!runTool(QStringLiteral("lame"), lame))
        return -1;
    return clock.elapsed() / 1000.0;
}

// File name -> size of every block the recording left.
QMap<QString, qint64> blocks(const QString &folder)
{
    QMap<QString, qint64> result;
    for (const QFileInfo &file : QDir(folder).entryInfoList({QStringLiteral("*.mp3")}, QDir::Files))
        result.insert(file.fileName(), file.size());
    return result;
}

// The same block files, each of about the same length: eSpeak NG carries a little intonation
// from one text to the next within a process, so a block spoken after another differs slightly
// from the same block spoken first.
double largestSizeDifference(const QMap<QString, qint64> &a, const QMap<QString, qint64> &b)
{
    if (a.keys() != b.keys())
        return 1;
    double largest = 0;
    for (auto it = a.begin(); it != a.end(); ++it)
        largest = std::max(largest, std::abs(double(it.value() - b.value(it.key()))) / double(it.value()));
    return largest;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString book = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : QStringLiteral(QUENVALE_TEST_DATA_DIR "/kapitanskaya_dochka.txt");
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("Дочка.txt"));
    if (!QFile::copy(book, source)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(book));
        return 1;
    }

    const double base = baseline(source, dir.path());
    const QString one = dir.filePath(QStringLiteral("one"));
    QDir().mkpath(one);
    const Run single = record(source, one, 1, dir.path());
    const auto singleBlocks = blocks(one + QStringLiteral("/!Дочка"));
    std::printf("book: %s\n", qPrintable(book));
    std::printf("baseline (espeak-ng -w, sox, lame):  %8.2f s\n", base);
    std::printf("program, one copy:                  %8.2f s  (%lld blocks, peak %.1f MB)  ratio %.3f\n",
                single.seconds, qlonglong(singleBlocks.size()), single.peakKb / 1024.0, single.seconds / base);

    const QString four = dir.filePath(QStringLiteral("four"));
    QDir().mkpath(four);
    const Run parallel = record(source, four, 4, dir.path());
    const auto parallelBlocks = blocks(four + QStringLiteral("/!Дочка"));
    const double difference = largestSizeDifference(singleBlocks, parallelBlocks);
    const bool same = parallelBlocks.keys() == singleBlocks.keys() && difference < 0.02;
    std::printf("program, four copies:               %8.2f s  speed-up %.2fx, same blocks: %s (sizes within %.2f%%)\n",
                parallel.seconds, single.seconds / parallel.seconds, same ? "yes" : "NO", difference * 100);
    return single.ok && parallel.ok && same && !singleBlocks.isEmpty() ? 0 : 1;
}
