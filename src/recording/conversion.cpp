#include "recording/conversion.h"

#include "app/globals.h"
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

} // namespace

PrepSettings currentPrepSettings()
{
    const Setup &s = setup();
    return PrepSettings::fromGlobals(std::int16_t(s.FlatScrollBar2->value()),
                                     std::int16_t(s.FlatScrollBar11->value()),
                                     std::int16_t(s.FlatScrollBar12->value()));
}

AudioBook::AudioBook(QObject *parent) : JobStep(parent)
{
    StartTime = secondsSinceMidnight();
    CharsDone = 0;
    monitor().ProgressBar1->setValue(monitor().ProgressBar1->minimum());
    monitor().setProgressText(QString());
    // A lone LF ends a line too: the usual Linux text would otherwise be one line, one block.
    m_book = std::make_unique<textfile::LineReader>(CurTextPath, textfile::LineEnds::Any);
    if (!m_book->isOpen()) {
        finish(Outcome::Failed, textfile::openFailure(CurTextPath, m_book->errorString()));
        return;
    }
    BlockText = QStringLiteral("\r\n");
    readLines();
}

AudioBook::~AudioBook() = default;

void AudioBook::readLines()
{
    while (!StopFlag) {
        std::optional<QString> line = m_book->next();
        if (!line)
            break;
        CurLine = std::move(*line);
        if (conversion::isChapterMarker(CurLine)) {
            // The marker closes the block before it, however short; the marker line itself
            // adds nothing. That block goes through every stage like any other.
            CurLine.clear();
            m_lineChars = 0;
            writeBlock();
            return;
        }
        CurLine = conversion::replaceQuotes(std::move(CurLine));
        CorrectCase();
        BlockText += QStringLiteral("\r\n") + CurLine;
        m_lineChars = std::int32_t(CurLine.size());
        if (BlockText.size() > BlockLimit && conversion::endsBlock(CurLine)) {
            writeBlock();
            return;
        }
        CharsDone += m_lineChars;
    }
    if (StopFlag) {
        finish(Outcome::Stopped);
        return;
    }
    // What is left is the last block, even when it holds only a line break.
    m_lastBlock = true;
    writeBlock();
}

// The stages of a block the line loop has closed: prepared, corrected by the replacement
// list and written (its text copy in the book's own encoding).
void AudioBook::writeBlock()
{
    monitor().setStage(QStringLiteral("Лингвистический анализ..."));
    AnalizText(currentPrepSettings());
    monitor().setStage(QStringLiteral("Корректировка произношения..."));
    ApplyDictionary();
    monitor().setStage(QStringLiteral("Запись аудиофайла..."));
    JobStep *block = WriteBlock(m_book->encoding(), this);
    connect(block, &JobStep::finished, this, [this, block] { blockWritten(block); });
}

void AudioBook::blockWritten(JobStep *block)
{
    block->deleteLater();
    // A block ended without a word to say was ended by the program's exit.
    if (!block->ok())
        finish(block->failure().isEmpty() ? Outcome::Stopped : Outcome::Failed, block->failure());
    else if (m_lastBlock)
        finish(Outcome::Completed); // after a stop as well: the book may be whole
    else if (StopFlag)
        finish(Outcome::Stopped);
    else {
        // The line that closed the block counts once the block is written.
        CharsDone += m_lineChars;
        readLines();
    }
}

void AudioBook::finish(Outcome outcome, const QString &failure)
{
    m_book.reset();
    m_outcome = outcome;
    end(outcome != Outcome::Failed, failure);
}

AudioBook *MakeAudioBook(QObject *parent)
{
    return new AudioBook(parent);
}
