#pragma once

#include "recording/jobstep.h"
#include "recording/textprep.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace textfile {
class LineReader;
}

// The conversion driver: reads a saved book line by line, cuts it into blocks and has every
// block prepared, corrected and written.
namespace conversion {

// The six quotation marks of the book's code page made blanks.
QString replaceQuotes(QString line);
// A line that contains the chapter marker "@@@@@" ends the block before it.
bool isChapterMarker(const QString &line);
// Whether a block past its limit may end after this line: a sentence end (".", "!", "?",
// alone or followed by exactly one blank) or a blank line ("", " ", "  ").
bool endsBlock(const QString &line);

enum class Outcome
{
    Completed, // the whole book went through
    Stopped,   // the user stopped the recording
    Failed,    // a block or the book file failed; the user has been told
};

} // namespace conversion

// The preparation's pauses and tags as the settings window and the tag globals hold them now;
// recording and reading aloud prepare their text with it.
PrepSettings currentPrepSettings();

// The conversion driver: records the book at CurTextPath into its book folder, block by
// block, from the first line, numbering its blocks on from BlockNo. A line ends at CR LF, CR or
// LF alike, so a book with Linux line ends is cut as its CR LF twin is; the book file is only
// read. Each block is prepared, corrected and written (WriteBlock) before the next is cut.
class AudioBook : public JobStep
{
    Q_OBJECT
public:
    explicit AudioBook(QObject *parent);
    ~AudioBook() override;

    // Once ended; a failure() comes with Failed.
    conversion::Outcome outcome() const { return m_outcome; }

private:
    void readLines();
    void writeBlock();
    void blockWritten(JobStep *block);
    void finish(conversion::Outcome outcome, const QString &failure = {});

    std::unique_ptr<textfile::LineReader> m_book;
    bool m_lastBlock = false;     // the block being written is what was left at the book's end
    std::int32_t m_lineChars = 0; // the characters of the line that closed the block
    conversion::Outcome m_outcome = conversion::Outcome::Failed;
};

// Starts the driver; `parent` owns it.
AudioBook *MakeAudioBook(QObject *parent);
