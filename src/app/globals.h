#pragma once

#include <QString>

#include <cstdint>

// The program's shared state. Every window reads and writes these by name.

extern QString CurTextPath; // full path of the current book text file
extern QString BookTitle;   // the current book's title: names its folder, blocks and bookmark
extern QString BlockText;   // the text under preparation: a block, or the next paragraph read aloud
extern QString CurLine;     // the current book line of the conversion driver
// The user (or the program's exit) asked the recording to stop. A failure never sets it: a
// failed step ends with its failure, and a batch goes on after a failed book unless stopped.
extern bool StopFlag;
extern std::int32_t SpeakFlags; // flags for speaking aloud: 11 from start-up on

// Prosody tags built by setup.Tembrs from the rates, pitches and volumes.
extern QString TembrStart;
extern QString TembrNarration;
extern QString TembrDialog;
extern QString TembrComment;
extern QString TembrDialog2;

extern std::int16_t CharsPerMin; // characters spoken per minute at the narration rate
extern std::int32_t BlockLimit;  // block length in characters
extern double PlayHours;         // the last playing-time estimate, in hours
extern QString WinDrive;         // root of the system drive: "/" here

extern std::int16_t BlockNo;   // number of the current block of a book
extern QString BlockName;      // BlockNo as four digits
extern std::int32_t CharsDone; // characters of the book read so far
extern float StartTime;        // seconds since midnight when the run started

// Dialogue state of the tagging, shared by recording and reading aloud.
extern bool InDialog;
extern bool InComment;

// Listening mode of the new-words and homograph windows (each keeps its own last-spoken row).
extern bool ListenLoop;

// Puts every global above back to its value before start-up (tests start from it).
void resetGlobals();
