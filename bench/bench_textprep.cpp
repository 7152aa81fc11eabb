// Text preparation speed: a novel repeated to 2 MB, prepared as 10-minute blocks and as one
// block holding everything (the block length slider at its maximum).
#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"
#include "recording/casecorrection.h"
#include "recording/textprep.h"

#include <QElapsedTimer>

#include <cstdio>
#include <vector>

namespace {

constexpr qsizetype kBookBytes = 2 * 1024 * 1024;
constexpr qsizetype kTenMinutes = 10 * 720; // rate 0: 720 characters a minute

QStringList bookOf2MB(const QStringList &novel)
{
    QStringList lines;
    qsizetype bytes = 0;
    while (bytes < kBookBytes) {
        for (const QString &line : novel) {
            lines.append(line);
            bytes += line.size() + 2;
        }
    }
    return lines;
}

// Close enough to the conversion driver: a block ends at the first sentence-ending or blank
// line once it is longer than the limit.
std::vector<QString> cutBlocks(const QStringList &lines, qsizetype limit)
{
    std::vector<QString> blocks;
    QString block = QStringLiteral("\r\n");
    for (QString line : lines) {
        for (int code : {34, 132, 147, 148, 171, 187})
            line.replace(cp1251::chr(code), u' ');
        line = CorrectCase(line);
        block += QStringLiteral("\r\n") + line;
        const bool sentenceEnd = line.endsWith(u'.') || line.endsWith(u'!') || line.endsWith(u'?') ||
                                 line.endsWith(u". ") || line.endsWith(u"! ") || line.endsWith(u"? ") ||
                                 line.trimmed().isEmpty();
        if (block.size() > limit && sentenceEnd) {
            blocks.push_back(block);
            block = QStringLiteral("\r\n");
        }
    }
    blocks.push_back(block);
    return blocks;
}

PrepSettings settings()
{
    PrepSettings s;
    s.paragraphPause = 500;
    s.questionPause = 300;
    s.ellipsisPause = 800;
    const QString close = QStringLiteral(" </pitch> </rate> </volume>");
    s.narration =
        close + QStringLiteral(" <volume level=\"100\"> <rate absspeed=\"0\"> <pitch absmiddle=\"0\">");
    s.dialog = close + QStringLiteral(" <volume level=\"90\"> <rate absspeed=\"2\"> <pitch absmiddle=\"3\">");
    s.comment =
        close + QStringLiteral(" <volume level=\"70\"> <rate absspeed=\"1\"> <pitch absmiddle=\"-5\">");
    s.dialog2 = s.dialog;
    return s;
}

// Best of a few runs, in seconds; `outChars` receives the prepared length.
double prepare(const std::vector<QString> &blocks, qsizetype &outChars)
{
    const PrepSettings s = settings();
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        DialogState state;
        qsizetype chars = 0;
        QElapsedTimer timer;
        timer.start();
        for (const QString &block : blocks)
            chars += AnalizText(block, s, state).size();
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e9);
        outChars = chars;
    }
    return best;
}

void report(const char *what, const std::vector<QString> &blocks, qsizetype bytes)
{
    qsizetype outChars = 0;
    const double seconds = prepare(blocks, outChars);
    std::printf("%-26s %6zu blocks  %8.1f ms  %7.1f MB/s  (%lld chars out)\n", what, blocks.size(),
                seconds * 1e3, static_cast<double>(bytes) / 1e6 / seconds, static_cast<long long>(outChars));
}

} // namespace

int main()
{
    const auto novel = textfile::readLines(QStringLiteral(QUENVALE_TEST_DATA_DIR "/kapitanskaya_dochka.txt"));
    if (!novel) {
        std::fprintf(stderr, "cannot read the corpus\n");
        return 1;
    }
    const QStringList book = bookOf2MB(*novel);
    qsizetype bytes = 0;
    for (const QString &line : book)
        bytes += line.size() + 2;
    std::printf("book: %lld lines, %lld bytes\n", static_cast<long long>(book.size()),
                static_cast<long long>(bytes));

    QElapsedTimer timer;
    timer.start();
    const auto tenMinutes = cutBlocks(book, kTenMinutes);
    std::printf("cutting into blocks (quotes, case): %.1f ms\n",
                static_cast<double>(timer.nsecsElapsed()) / 1e6);
    report("10-minute blocks:", tenMinutes, bytes);
    report("one block (maximum):", cutBlocks(book, 99999999), bytes);

    // Indented lines make every reply a tagged dialogue: the tagging's worst case.
    QStringList indented;
    for (const QString &line : book)
        indented.append(u' ' + line);
    report("10-minute blocks, indented:", cutBlocks(indented, kTenMinutes), bytes);
    report("one block, indented:", cutBlocks(indented, 99999999), bytes);
    return 0;
}
