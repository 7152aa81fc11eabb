// Times the pre-formatting of a real book and of a 2 MB book made of it.
#include "platform/text/preformat.h"

#include "platform/text/textfile.h"

#include <QElapsedTimer>

#include <cstdio>

namespace {

void timeRun(const char *name, const QString &text)
{
    constexpr int kRounds = 5;
    qint64 best = -1;
    qsizetype outSize = 0;
    for (int i = 0; i < kRounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        const preformat::Outcome out = preformat::run(text);
        const qint64 ns = timer.nsecsElapsed();
        outSize = out.text.size();
        if (best < 0 || ns < best)
            best = ns;
    }
    std::printf("%-28s %9lld chars -> %9lld chars: best of %d %8.2f ms\n", name,
                static_cast<long long>(text.size()), static_cast<long long>(outSize), kRounds, best / 1e6);
}

} // namespace

int main()
{
    const std::optional<QString> book =
        textfile::readText(QStringLiteral(QUENVALE_TEST_DATA_DIR "/kapitanskaya_dochka.txt"));
    if (!book) {
        std::fprintf(stderr, "cannot read the corpus book\n");
        return 1;
    }
    timeRun("kapitanskaya_dochka.txt", *book);

    // The book file is about 210 KB of single bytes; repeat it to 2 MB of file.
    QString big;
    while (big.size() < 2 * 1024 * 1024)
        big += *book;
    timeRun("2 MB book", big);

    // Worst case for the replacements: a match every few characters.
    QString dense;
    const QString chunk = QStringLiteral("(a) [b]\t\u2014  c\r\n\r\n");
    while (dense.size() < 2 * 1024 * 1024)
        dense += chunk;
    timeRun("2 MB of matches", dense);
    return 0;
}
