#pragma once

#include "recording/textprep.h"

#include <QString>

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

// Records the book at CurTextPath into its book folder, block by block, from the first line,
// numbering its blocks on from BlockNo. A line ends at CR LF, CR or LF alike, so a book with
// Linux line ends is cut as its CR LF twin is; the book file is only read.
conversion::Outcome MakeAudioBook();
