#pragma once

#include "recording/abbreviations.h"

#include <QString>
#include <QStringView>

#include <cstdint>

// Text preparation of a block: turns book text into the text handed to the voice.
// Every step is a pure function over the text; the caller supplies the settings as they
// stand when the block is prepared and keeps the dialogue state between calls.

// What the preparation reads from the settings window and the prosody-tag globals.
struct PrepSettings
{
    std::int16_t paragraphPause = 0; // setup.FlatScrollBar2: between paragraphs and before dialogue, ms
    std::int16_t questionPause = 0;  // setup.FlatScrollBar11: after "!" and "?", ms
    std::int16_t ellipsisPause = 0;  // setup.FlatScrollBar12: after ". . .", ms
    QString narration;               // TembrNarration
    QString dialog;                  // TembrDialog
    QString comment;                 // TembrComment
    QString dialog2;                 // TembrDialog2
    QList<abbreviations::Abbreviation> abbreviations; // read as their words

    // The given pauses and the four tag strings as the globals hold them now, and the
    // abbreviation list as the program folder holds it.
    static PrepSettings fromGlobals(std::int16_t paragraphPause, std::int16_t questionPause,
                                    std::int16_t ellipsisPause);
};

// Who is speaking at the end of the text tagged last: narration (both false), the speaker
// (inDialog) or the author's comment inside a reply (inComment).
struct DialogState
{
    bool inDialog = false;
    bool inComment = false;
};

// " <silence msec="N"/>": a pause of N milliseconds inside spoken text.
QString pauseElement(std::int16_t ms);

// The whole preparation of a block or of a paragraph read aloud: the book's text as the
// listener hears it (words.h), its abbreviations as their words, then the steps below. `state` carries the
// dialogue state from the previous call and is updated for the next one.
QString AnalizText(QStringView text, const PrepSettings &settings, DialogState &state);

// Prepares BlockText in place; the dialogue state lives in InDialog and InComment.
void AnalizText(const PrepSettings &settings);

// Paragraph pauses and narration, dialogue and comment tags, in one pass over the text.
// The tag strings must not contain line breaks (the prosody tags never do).
QString TagDialogs(QStringView text, const PrepSettings &settings, DialogState &state);

// Joins chapter words spaced out letter by letter and single consonants standing between
// blanks.
QString JoinSpacedLetters(QStringView text);

// Typographic dashes, no-break spaces, the one-character ellipsis and a few stray
// characters turned into what the voice reads.
QString NormalizeChars(QStringView text);

// Separates numbers from the dashes around them so that they are read as numbers.
QString FixDigits(QStringView text);
