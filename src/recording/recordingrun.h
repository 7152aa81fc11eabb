#pragma once

#include "recording/conversion.h"

#include <QString>

// One book's recording from its folder to the "!" of a finished book, shared by the
// single-book and the batch command.
namespace recordingrun {

// The blocks this program copy records: start, start + step, ... (Text24, Text21).
struct Selection
{
    int start = 1;
    int step = 1;
};
const Selection &selection();
// Reads the selection from the settings window. Both values must be whole numbers of at least
// 1; otherwise the user is told and the result is false.
bool readSelection();

// <working folder>/<BookTitle>, and the name it gets when the book is finished.
QString bookFolder();
QString finishedFolder();

// Whether blocks 1..blocks of the book folder all have their output file, by whichever copy
// of the program or run made them.
bool allBlocksDone(int blocks);

struct Result
{
    conversion::Outcome outcome = conversion::Outcome::Completed;
    bool finished = false; // every block produced and the folder renamed with its "!"
};

// Records the book at CurTextPath into the book folder (created if missing), block numbering
// from 1, and renames the folder when every block was produced.
Result recordBook();

} // namespace recordingrun
