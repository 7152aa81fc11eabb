#pragma once

#include <QString>

// The prosody tags put into every spoken text: volume, rate and pitch of narration,
// dialogue and author comment as nested SSML-like elements our speech layer reads.
namespace tembrs {

struct Timbre
{
    int volume = 0; // 0..100
    int rate = 0;   // -10..10
    int pitch = 0;  // -10..10
};

struct Tags
{
    QString start;     // opens narration at the very beginning
    QString narration; // closes the current timbre, opens narration
    QString dialog;    // closes, opens dialogue
    QString comment;   // closes, opens the author's comment
    QString dialog2;   // dialogue resumed after a comment: the same text as dialog
};

Tags build(const Timbre &narration, const Timbre &dialog, const Timbre &comment);

// The settings window's test phrase: five sentences, each in its timbre.
QString testPhrase(const Tags &tags);

} // namespace tembrs
