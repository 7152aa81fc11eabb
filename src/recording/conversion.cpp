#include "recording/conversion.h"

#include "app/globals.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/textfile.h"
#include "recording/blockoutput.h"
#include "recording/casecorrection.h"
#include "recording/logging.h"
#include "recording/monitor.h"
#include "recording/voicelist.h"
#include "recording/textprep.h"
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

QString crLfLineBreaks(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 32);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            out += u'\r';
        out += text[i];
    }
    return out;
}

} // namespace conversion

using conversion::Outcome;

namespace {

float secondsSinceMidnight()
{
    return float(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

// The stages of a block the line loop has closed: prepared, corrected by the replacement
// list and written.
bool finishBlock()
{
    monitor().setStage(QStringLiteral("Лингвистический анализ..."));
    AnalizText(currentPrepSettings());
    monitor().setStage(QStringLiteral("Корректировка произношения..."));
    ApplyDictionary();
    monitor().setStage(QStringLiteral("Запись аудиофайла..."));
    return WriteBlock();
}

bool reportUnreadable(const QString &path, const QString &reason)
{
    services::prompter().critical(textfile::failureMessage(QStringLiteral("Не удалось открыть файл"), path, reason));
    return false;
}

} // namespace

PrepSettings currentPrepSettings()
{
    const Setup &s = setup();
    return PrepSettings::fromGlobals(std::int16_t(s.FlatScrollBar2->value()), std::int16_t(s.FlatScrollBar11->value()),
                                     std::int16_t(s.FlatScrollBar12->value()));
}

bool FixLineBreaks()
{
    QString reason;
    textcodec::Encoding encoding;
    const auto text = textfile::readBook(CurTextPath, &reason, &encoding);
    if (!text)
        return reportUnreadable(CurTextPath, reason);
    if (!textfile::writeText(CurTextPath, conversion::crLfLineBreaks(*text), encoding, &reason)) {
        services::prompter().critical(
            textfile::failureMessage(QStringLiteral("Не удалось записать файл"), CurTextPath, reason));
        return false;
    }
    return true;
}

Outcome MakeAudioBook()
{
    StartTime = secondsSinceMidnight();
    bool rewritten = false;
    for (;;) {
        CharsDone = 0;
        monitor().ProgressBar1->setValue(monitor().ProgressBar1->minimum());
        textfile::LineReader book(CurTextPath);
        if (!book.isOpen()) {
            reportUnreadable(CurTextPath, book.errorString());
            return Outcome::Failed;
        }
        BlockText = QStringLiteral("\r\n");
        bool restart = false;
        while (!StopFlag) {
            std::optional<QString> line = book.next();
            if (!line)
                break;
            CurLine = std::move(*line);
            // A line this long means the file's lines end otherwise than in CR LF: the file is
            // rewritten once and read again; a line still this long is then taken as it is.
            if (CurLine.size() > conversion::kLongLine && !rewritten) {
                rewritten = true;
                qCInfo(lcRecording) << "line of" << CurLine.size() << "characters: rewriting the line ends of"
                                    << CurTextPath;
                if (FixLineBreaks()) {
                    restart = true;
                    break;
                }
            }
            if (conversion::isChapterMarker(CurLine)) {
                // The marker closes the block before it, however short; the marker line itself
                // adds nothing. That block goes through every stage like any other.
                CurLine.clear();
                if (!finishBlock())
                    return Outcome::Failed;
            } else {
                CurLine = conversion::replaceQuotes(std::move(CurLine));
                CorrectCase();
                BlockText += QStringLiteral("\r\n") + CurLine;
                if (BlockText.size() > BlockLimit && conversion::endsBlock(CurLine)) {
                    if (!finishBlock())
                        return Outcome::Failed;
                    if (StopFlag)
                        break;
                }
            }
            CharsDone += std::int32_t(CurLine.size());
        }
        if (!restart)
            break;
    }
    if (StopFlag)
        return Outcome::Stopped;
    // What is left is the last block, even when it holds only a line break.
    if (!finishBlock())
        return Outcome::Failed;
    return StopFlag ? Outcome::Stopped : Outcome::Completed;
}
