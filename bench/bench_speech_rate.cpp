// Measures how many characters a minute the voice speaks at each rate of the markup and
// compares them with the characters-per-minute table the program's estimates use.
#include "platform/speech/espeakvoice.h"
#include "platform/speech/prosodymap.h"
#include "platform/text/cp1251.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

namespace {

QString corpusSlice(const char *book, qsizetype from, qsizetype length)
{
    QFile f(QStringLiteral(QUENVALE_TEST_DATA_DIR "/") + QLatin1String(book));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return cp1251::decode(f.readAll()).mid(from, length);
}

} // namespace

int main()
{
    // Two kinds of prose: a novel's narration and a novella with much dialogue.
    const QStringList texts = {corpusSlice("kapitanskaya_dochka.txt", 20000, 10000),
                               corpusSlice("pikovaya_dama.txt", 10000, 10000)};
    for (const QString &t : texts) {
        if (t.size() != 10000) {
            std::fprintf(stderr, "cannot read the corpus\n");
            return 1;
        }
    }
    speech::EspeakVoiceFactory factory(speech::EspeakVoiceFactory::Options{QString(), true});
    auto voice = factory.create();
    if (!voice) {
        std::fprintf(stderr, "%s\n", qPrintable(factory.errorString()));
        return 1;
    }
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("rate.wav"));
    std::printf("rate  wpm gap  expected  measured  deviation\n");
    int outside = 0;
    for (int rate = -10; rate <= 10; ++rate) {
        double seconds = 0;
        qsizetype chars = 0;
        for (const QString &text : texts) {
            const QString tagged = QStringLiteral("<rate absspeed=\"%1\">").arg(rate) + text;
            if (!voice->OpenOutputFile(wav, 22) || !voice->Speak(tagged, speech::IsXML) ||
                !voice->CloseOutputFile()) {
                std::fprintf(stderr, "%s\n", qPrintable(voice->LastError()));
                return 1;
            }
            seconds += (QFileInfo(wav).size() - 44) / 2 / 22050.0;
            chars += text.size();
        }
        const double measured = chars / seconds * 60;
        const int expected = speech::targetCharsPerMinute(rate);
        const double deviation = (measured / expected - 1) * 100;
        const auto engine = speech::engineProsody({100, rate, 0});
        outside += std::abs(deviation) > 15;
        std::printf("%4d  %3d %3d  %8d  %8.0f  %+8.1f %%\n", rate, engine.wordsPerMinute, engine.wordGap,
                    expected, measured, deviation);
    }
    std::printf("%d rates outside +-15 %%\n", outside);
    return 0;
}
