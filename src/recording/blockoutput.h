#pragma once

#include "platform/text/textcodec.h"
#include "recording/encoders.h"
#include "recording/jobstep.h"

#include <QString>

#include <cstdint>
#include <optional>

// Block output: every block of a book gets a number and a name, is framed for speech, and is
// spoken and encoded unless its file exists already or another program copy records it.
namespace blockoutput {

// No book has more blocks: their four-digit names would repeat from here on.
inline constexpr int kMaxBlocks = 10000;

// "0001" for block 1; from 10000 on the last four digits ("0000", "2345").
QString blockName(int number);

// Whether a file of the book folder of `bookTitle` is one a recording made there: exactly a
// name encoders::blockPaths gives a block of that book (with the title or without), or the
// temporary name of one.
bool isBlockFile(const QString &fileName, const QString &bookTitle);

// What frames the prepared text of a block.
struct Framing
{
    QString tembrStart;         // the narration's prosody tags
    bool spokenNumbers = false; // "Блок  N" before, " Конец блока  N" after the text
    int startPauseSeconds = 0;
    int endPauseSeconds = 0;
};

// The text the voice speaks for block `number`: the prosody prefix, the spoken numbers when
// asked for, and a pause element at both ends.
QString frame(const QString &text, int number, const Framing &framing);

// Whether block `number` is this copy's: one of start, start + step, start + 2 step, ... and
// not past the last block a book may have.
bool isSelected(int number, int start, int step);

// Whether an earlier run finished the block: the output format's own file exists. Every
// file of that name is complete: speech and encoders write under temporary names first.
bool alreadyEncoded(const encoders::BlockPaths &paths, int format);

// A selection setting ("Text21", "Text24") as a whole number of at least 1.
std::optional<int> selectionValue(const QString &text);

} // namespace blockoutput

// Counts the block up in BlockNo and names it in BlockName and the block's paths.
void MakeFileNames();

// Frames BlockText, keeps a copy of it when asked (in the book's encoding, so a UTF-8 book's
// copy keeps every letter), and has it spoken (SpeakBlockToWav) and encoded (EncodeBlock)
// unless the block is done already or not this copy's. Leaves BlockText as the next block
// starts from, the same whichever of these it was. A failed block (the recording then stops)
// is not ok(); failure() says why.
class BlockWriting : public JobStep
{
    Q_OBJECT
public:
    BlockWriting(textcodec::Encoding bookEncoding, QObject *parent);

private:
    void spoken(JobStep *speech);
    void encoded(JobStep *encoding);
    void written();
};

// Starts writing the block; `parent` owns the writing.
BlockWriting *WriteBlock(textcodec::Encoding bookEncoding, QObject *parent);
