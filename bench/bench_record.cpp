// Records tests/data/kapitanskaya_dochka.txt to MP3 in blocks of 10 minutes with the
// command-line recorder (the program's own recording), against a baseline that speaks the same
// text with `espeak-ng -v ru -w` at the program's narration speed and encodes it with `lame`
// using the same options. Then the same book by 4 copies of the program at once (copy k takes
// blocks k, k + 4, ...), against one copy, and checks that they make exactly the same blocks.
//
//   bench_record [BOOK]
#include "platform/speech/prosodymap.h"
#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"
#include "settings/outputformats.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

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
// (rate 2, the form's), then encoded by lame with the form's MP3 options.
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
    QStringList lame = QProcess::splitCommand(outputformats::defaultMp3Options());
    lame << wav << dir + QStringLiteral("/baseline.mp3");
    if (!runTool(QStringLiteral("lame"), lame))
        return -1;
    return clock.elapsed() / 1000.0;
}

// File name -> content hash of every block the recording left.
QMap<QString, QByteArray> blocks(const QString &folder)
{
    QMap<QString, QByteArray> result;
    for (const QString &name : QDir(folder).entryList({QStringLiteral("*.mp3")}, QDir::Files)) {
        QFile f(folder + u'/' + name);
        if (f.open(QIODevice::ReadOnly))
            result.insert(name, QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1));
    }
    return result;
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
    std::printf("baseline (espeak-ng -w, then lame): %8.2f s\n", base);
    std::printf("program, one copy:                  %8.2f s  (%lld blocks, peak %.1f MB)  ratio %.3f\n",
                single.seconds, qlonglong(singleBlocks.size()), single.peakKb / 1024.0, single.seconds / base);

    const QString four = dir.filePath(QStringLiteral("four"));
    QDir().mkpath(four);
    const Run parallel = record(source, four, 4, dir.path());
    const auto parallelBlocks = blocks(four + QStringLiteral("/!Дочка"));
    std::printf("program, four copies:               %8.2f s  speed-up %.2fx, same blocks: %s\n", parallel.seconds,
                single.seconds / parallel.seconds, parallelBlocks == singleBlocks ? "yes" : "NO");
    return single.ok && parallel.ok && parallelBlocks == singleBlocks && !singleBlocks.isEmpty() ? 0 : 1;
}
