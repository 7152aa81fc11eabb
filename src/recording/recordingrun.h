#pragma once

#include "recording/conversion.h"

#include <QString>

#include <optional>

// One book's recording from its folder to the "!" of a finished book, shared by the
// single-book and the batch command.
namespace recordingrun {

// The blocks this program copy records: start, start + step, ... (Text24, Text21).
struct Selection
{
    int start = 1;
    int step = 1;
};
// The selection as the settings window holds it now; nothing unless both values are whole
// numbers of at least 1.
std::optional<Selection> selection();
// Checks the selection when a recording starts; a bad one is told to the user (false).
bool checkSelection();

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
