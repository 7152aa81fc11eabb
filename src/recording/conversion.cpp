#include "recording/conversion.h"

#include "app/globals.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/textfile.h"
#include "recording/blockoutput.h"
#include "recording/casecorrection.h"
#include "recording/monitor.h"
#include "recording/textprep.h"
#include "recording/voicelist.h"
#include "settings/setup.h"

#include <QProgressBar>
#include <QScrollBar>
#include <QTime>

namespace conversion {

QString replaceQuotes(QString line)
{
    // ", „, “, ”, «, »
    for (const char16_t quote : {u'"', u'\u201E', u'\u201C', u'\u201D', u'\u00AB', u'\u00BB'})
        line.replace(quote, u' ');
    return line;
}

bool isChapterMarker(const QString &line)
{
    return line.contains(QStringLiteral("@@@@@"));
}

bool endsBlock(const QString &line)
{
    if (line.isEmpty() || line == u" " || line == u"  ")
        return true;
    const auto isMark = [](QChar c) { return c == u'.' || c == u'!' || c == u'?'; };
    const qsizetype n = line.size();
    if (isMark(line[n - 1]))
        return true;
    return n >= 2 && line[n - 1] == u' ' && isMark(line[n - 2]);
}

} // namespace conversion

using conversion::Outcome;

namespace {

float secondsSinceMidnight()
{
    return float(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

// The stages of a block the line loop has closed: prepared, corrected by the replacement
// list and written (its text copy in the book's own encoding).
bool finishBlock(textcodec::Encoding bookEncoding)
{
    monitor().setStage(QStringLiteral("Лингвистический анализ..."));
    AnalizText(currentPrepSettings());
    monitor().setStage(QStringLiteral("Корректировка произношения..."));
    ApplyDictionary();
    monitor().setStage(QStringLiteral("Запись аудиофайла..."));
    return WriteBlock(bookEncoding);
}

void reportUnreadable(const QString &path, const QString &reason)
{
    services::prompter().critical(textfile::openFailure(path, reason));
}

} // namespace

PrepSettings currentPrepSettings()
{
    const Setup &s = setup();
    return PrepSettings::fromGlobals(std::int16_t(s.FlatScrollBar2->value()),
                                     std::int16_t(s.FlatScrollBar11->value()),
                                     std::int16_t(s.FlatScrollBar12->value()));
}

Outcome MakeAudioBook()
{
    StartTime = secondsSinceMidnight();
    CharsDone = 0;
    monitor().ProgressBar1->setValue(monitor().ProgressBar1->minimum());
    // A lone LF ends a line too: the usual Linux text would otherwise be one line, one block.
    textfile::LineReader book(CurTextPath, textfile::LineEnds::Any);
    if (!book.isOpen()) {
        reportUnreadable(CurTextPath, book.errorString());
        return Outcome::Failed;
    }
    BlockText = QStringLiteral("\r\n");
    while (!StopFlag) {
        std::optional<QString> line = book.next();
        if (!line)
            break;
        CurLine = std::move(*line);
        if (conversion::isChapterMarker(CurLine)) {
            // The marker closes the block before it, however short; the marker line itself
            // adds nothing. That block goes through every stage like any other.
            CurLine.clear();
            if (!finishBlock(book.encoding()))
                return Outcome::Failed;
        } else {
            CurLine = conversion::replaceQuotes(std::move(CurLine));
            CorrectCase();
            BlockText += QStringLiteral("\r\n") + CurLine;
            if (BlockText.size() > BlockLimit && conversion::endsBlock(CurLine)) {
                if (!finishBlock(book.encoding()))
                    return Outcome::Failed;
                if (StopFlag)
                    break;
            }
        }
        CharsDone += std::int32_t(CurLine.size());
    }
    if (StopFlag)
        return Outcome::Stopped;
    // What is left is the last block, even when it holds only a line break.
    if (!finishBlock(book.encoding()))
        return Outcome::Failed;
    return StopFlag ? Outcome::Stopped : Outcome::Completed;
}
