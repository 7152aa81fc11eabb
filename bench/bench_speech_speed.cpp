// Synthesis speed of 10,000 characters of Russian prose through our voice layer against
// the espeak-ng command-line program on the same text and speed: seconds of audio per
// second of CPU, and the layer's overhead.
#include "platform/speech/espeakvoice.h"
#include "platform/speech/prosodymap.h"
#include "platform/text/cp1251.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

namespace {

double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double wavSeconds(const QString &path)
{
    return (QFileInfo(path).size() - 44) / 2 / 22050.0;
}

struct Run
{
    double audio = 0;
    double cpu = 0;
    double speed() const { return audio / cpu; }
};

} // namespace

int main()
{
    QFile book(QStringLiteral(QUENVALE_TEST_DATA_DIR "/kapitanskaya_dochka.txt"));
    if (!book.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read the corpus\n");
        return 1;
    }
    const QString text = cp1251::decode(book.readAll()).mid(30000, 10000);
    QTemporaryDir dir;
    const QString textFile = dir.filePath(QStringLiteral("text.txt"));
    {
        QFile f(textFile);
        if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8()) < 0)
            return 1;
    }
    const int wordsPerMinute = speech::engineProsody({}).wordsPerMinute;

    speech::EspeakVoiceFactory factory(speech::EspeakVoiceFactory::Options{QString(), true});
    auto voice = factory.create();
    if (!voice) {
        std::fprintf(stderr, "%s\n", qPrintable(factory.errorString()));
        return 1;
    }
    // Taken in turns, so that both see the same load of the machine; the best of each counts.
    constexpr int rounds = 7;
    Run ours;
    Run tool;
    for (int i = 0; i < rounds; ++i) {
        const QString ourWav = dir.filePath(QStringLiteral("ours.wav"));
        const double before = cpuSeconds(RUSAGE_SELF);
        if (!voice->OpenOutputFile(ourWav, 22) || !voice->Speak(text, 0) || !voice->CloseOutputFile()) {
            std::fprintf(stderr, "%s\n", qPrintable(voice->LastError()));
            return 1;
        }
        const Run mine{wavSeconds(ourWav), cpuSeconds(RUSAGE_SELF) - before};
        if (i == 0 || mine.speed() > ours.speed())
            ours = mine;

        const QString toolWav = dir.filePath(QStringLiteral("tool.wav"));
        const double childBefore = cpuSeconds(RUSAGE_CHILDREN);
        QProcess p;
        p.start(QStringLiteral("espeak-ng"), {QStringLiteral("-v"), QStringLiteral("ru"),
                                              QStringLiteral("-s"), QString::number(wordsPerMinute),
                                              QStringLiteral("-w"), toolWav, QStringLiteral("-f"), textFile});
        if (!p.waitForFinished(600000) || p.exitCode() != 0) {
            std::fprintf(stderr, "espeak-ng failed\n");
            return 1;
        }
        const Run theirs{wavSeconds(toolWav), cpuSeconds(RUSAGE_CHILDREN) - childBefore};
        if (i == 0 || theirs.speed() > tool.speed())
            tool = theirs;
    }
    std::printf("10000 characters at %d words per minute, best of %d\n", wordsPerMinute, rounds);
    std::printf("our layer:      %7.1f s audio, %6.3f s CPU, %6.1f s audio per CPU second\n", ours.audio,
                ours.cpu, ours.speed());
    std::printf("espeak-ng -w:   %7.1f s audio, %6.3f s CPU, %6.1f s audio per CPU second\n", tool.audio,
                tool.cpu, tool.speed());
    std::printf("overhead of our layer: %+.1f %%\n", (tool.speed() / ours.speed() - 1) * 100);
    return 0;
}
