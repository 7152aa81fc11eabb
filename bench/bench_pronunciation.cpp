// 10,000 characters of a book spoken into a WAV file by the dictionary voice: plain, and
// with an exception dictionary of 5,000 entries in force and a stress mark about every
// 100 characters (each marked word spoken as phonemes).
//   ./bench_pronunciation [runs]
// Target: at most 15 % slower than the plain text.
#include "platform/speech/espeakvoice.h"
#include "platform/speech/exceptions.h"
#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QString vowels = QStringLiteral("аеёиоуыэюяАЕЁИОУЫЭЮЯ");

QString bookText()
{
    QFile f(QStringLiteral(QUENVALE_TEST_DATA_DIR "/kapitanskaya_dochka.txt"));
    f.open(QIODevice::ReadOnly);
    return cp1251::decode(f.readAll()).mid(20000, 10000);
}

// The first vowel of a word marked with `mark`.
QString stressed(const QString &word, QChar mark)
{
    for (qsizetype i = 0; i < word.size(); ++i) {
        if (vowels.contains(word[i]))
            return word.left(i + 1) + mark + word.mid(i + 1);
    }
    return word;
}

// Entries for the book's own words first (so that many apply), then made-up ones.
QStringList dictionary(const QString &text, int count)
{
    QStringList entries;
    QSet<QString> seen;
    static const QRegularExpression word(QStringLiteral("[а-яё]{4,}"));
    for (auto it = word.globalMatch(text.toLower()); it.hasNext() && entries.size() < count / 10;) {
        const QString w = it.next().captured();
        if (!seen.contains(w)) {
            seen.insert(w);
            entries.append(w + QStringLiteral(" :\t<") + stressed(w, u'<') + QStringLiteral("> /i"));
        }
    }
    for (int i = 0; entries.size() < count; ++i)
        entries.append(QStringLiteral("слово%1 :\t<сло<во> /i").arg(i));
    return entries;
}

// A stress mark on the first word starting after every ~100 characters.
QString withMarks(const QString &text)
{
    QString out;
    qsizetype next = 100;
    for (qsizetype i = 0; i < text.size(); ++i) {
        out += text[i];
        if (i >= next && text[i].isLetter() && vowels.contains(text[i]) && i > 0 && text[i - 1].isLetter()) {
            out += u'>';
            next = i + 100;
        }
    }
    return out;
}

double speak(speech::Voice &voice, const QString &text, const QString &wav)
{
    QElapsedTimer clock;
    clock.start();
    voice.OpenOutputFile(wav, 22);
    voice.Speak(text, 0);
    voice.CloseOutputFile();
    return clock.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    QTemporaryDir dir;
    const QString plain = bookText();
    const QString marked = withMarks(plain);
    const QString copy = dir.filePath(QStringLiteral("exc_rus.txt"));
    textfile::writeLines(copy, dictionary(plain, 5000));

    speech::EspeakVoiceFactory factory(speech::EspeakVoiceFactory::Options{{}, true});
    auto voice = factory.create();
    if (!voice) {
        std::printf("no engine: %s\n", qPrintable(factory.errorString()));
        return 1;
    }
    auto reread = [&](const QString &path) {
        speech::setExceptionDictionary(path);
        voice->SelectVoice(QStringLiteral("ru+f3"));
        voice->SelectVoice(QStringLiteral("ru"));
    };
    std::vector<double> bare;
    std::vector<double> full;
    const QString wav = dir.filePath(QStringLiteral("out.wav"));
    for (int i = 0; i < runs; ++i) {
        reread({});
        bare.push_back(speak(*voice, plain, wav));
        reread(copy);
        full.push_back(speak(*voice, marked, wav));
    }
    std::sort(bare.begin(), bare.end());
    std::sort(full.begin(), full.end());
    const double b = bare[bare.size() / 2];
    const double f = full[full.size() / 2];
    std::printf("10,000 characters to WAV, median of %d: plain %.2f s, with 5,000 exceptions and %lld marks "
                "%.2f s: %+.1f %% (target <= +15 %%)\n",
                runs, b, static_cast<long long>(marked.size() - plain.size()), f, (f / b - 1) * 100);
    return 0;
}
