// Soak test of resuming: a book of about 15 one-minute MP3 blocks is recorded by the
// command-line recorder, killed with SIGKILL at 20 moments spread over speaking and encoding,
// each time started again, and finally recorded to its end. The finished book must hold every
// block, each read back by ffprobe, its total length within 1 % of an undisturbed recording,
// no temporary file, and the book text unchanged.
//
//   soak_record [KILLS]
#include "platform/text/textfile.h"
#include "support/mediacheck.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <cstdio>

namespace {

QString home;

void startRecorder(QProcess &p, const QString &book, const QString &folder)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUENVALE_HOME"), home + QStringLiteral("/program"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(QStringLiteral(QUENVALE_RECORD_TOOL),
            {book, folder, QStringLiteral("--minutes"), QStringLiteral("1")});
    p.waitForStarted();
}

bool recordToEnd(const QString &book, const QString &folder)
{
    QProcess p;
    startRecorder(p, book, folder);
    p.waitForFinished(-1);
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

using mediacheck::digest;

struct Book
{
    QStringList files;
    double seconds = 0;
    int broken = 0;
};

Book readBook(const QString &folder)
{
    Book b;
    b.files = QDir(folder).entryList(QDir::Files, QDir::Name);
    for (const QString &name : b.files) {
        const mediacheck::Mp3Check c = mediacheck::probe(folder + u'/' + name);
        if (!c.valid)
            ++b.broken;
        else
            b.seconds += c.seconds;
    }
    return b;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int kills = argc > 1 ? std::atoi(argv[1]) : 20;
    QTemporaryDir dir;
    home = dir.path();

    // About 15 minutes of speech from the novel's opening chapters.
    const QStringList lines = textfile::splitLines(
        *textfile::readText(QStringLiteral(QUENVALE_TEST_DATA_DIR "/kapitanskaya_dochka.txt")));
    QStringList text;
    for (qsizetype i = 0, size = 0; i < lines.size() && size < 20000; ++i) {
        text << lines[i];
        size += lines[i].size();
    }
    const QString calm = dir.filePath(QStringLiteral("calm")), soak = dir.filePath(QStringLiteral("soak"));
    QDir().mkpath(calm);
    QDir().mkpath(soak);
    const QString calmBook = calm + QStringLiteral("/Дочка.txt"),
                  soakBook = soak + QStringLiteral("/Дочка.txt");
    textfile::writeLines(calmBook, text);
    textfile::writeLines(soakBook, text);
    const QByteArray before = digest(soakBook);

    QElapsedTimer clock;
    clock.start();
    if (!recordToEnd(calmBook, calm)) {
        std::fprintf(stderr, "the undisturbed recording failed\n");
        return 1;
    }
    const Book reference = readBook(calm + QStringLiteral("/!Дочка"));
    const int blocks = int(reference.files.size());
    std::printf("undisturbed: %d blocks, %.2f s of sound, recorded in %.1f s\n", blocks, reference.seconds,
                clock.elapsed() / 1000.0);

    // Kill i falls in block 1 + i * blocks / kills, alternately while it is spoken and while it
    // is encoded, a random few milliseconds after that stage shows.
    const QString folder = soak + QStringLiteral("/Дочка");
    int done = 0, speaking = 0, encoding = 0;
    for (int i = 0; i < kills; ++i) {
        const int block = 1 + i * blocks / kills;
        const bool encode = i % 2 == 1;
        const QString marker = QStringLiteral("%1/%2.part.%3")
                                   .arg(folder)
                                   .arg(block, 4, 10, QLatin1Char('0'))
                                   .arg(encode ? QStringLiteral("mp3") : QStringLiteral("wav"));
        // A marker left by an earlier kill counts only once this run has written it again.
        const QDateTime started = QDateTime::currentDateTime();
        const auto reached = [&] {
            const QFileInfo file(marker);
            return file.exists() && file.lastModified() >= started;
        };
        QProcess p;
        startRecorder(p, soakBook, soak);
        // waitForFinished also brings the process state up to date.
        while (!p.waitForFinished(1) && !reached()) {
        }
        if (p.state() != QProcess::Running) {
            std::printf("kill %2d: block %d %s not caught, the recorder ended first\n", i + 1, block,
                        encode ? "encoding" : "speaking");
            continue;
        }
        QThread::usleep(QRandomGenerator::global()->bounded(encode ? 100 : 300) * 1000);
        ::kill(pid_t(p.processId()), SIGKILL);
        p.waitForFinished();
        ++done;
        ++(encode ? encoding : speaking);
        std::printf("kill %2d: block %d while %s\n", i + 1, block, encode ? "encoding" : "speaking");
    }
    const bool finishedRun = recordToEnd(soakBook, soak);
    const Book soaked = readBook(soak + QStringLiteral("/!Дочка"));
    const double drift =
        reference.seconds > 0 ? std::abs(soaked.seconds - reference.seconds) / reference.seconds : 1;
    const bool sameText = digest(soakBook) == before;
    const bool sameFiles = soaked.files == reference.files;
    std::printf("killed %d times (%d speaking, %d encoding); last run %s\n", done, speaking, encoding,
                finishedRun ? "completed" : "FAILED");
    std::printf("soaked book: %lld files, %d broken, %.2f s of sound (%.3f%% off), same block files: %s, "
                "book text unchanged: %s\n",
                qlonglong(soaked.files.size()), soaked.broken, soaked.seconds, drift * 100,
                sameFiles ? "yes" : "NO", sameText ? "yes" : "NO");
    const bool ok = finishedRun && sameFiles && soaked.broken == 0 && drift <= 0.01 && sameText && blocks > 0;
    std::printf("%s (%.1f s)\n", ok ? "PASS" : "FAIL", clock.elapsed() / 1000.0);
    return ok ? 0 : 1;
}
