#pragma once

#include "platform/speech/markup.h"

// How the markup's volume, rate and pitch numbers map onto eSpeak NG's parameters.
namespace speech {

struct EngineProsody
{
    int volume;         // espeakVOLUME, 0..100
    int pitch;          // espeakPITCH, 0..100, 50 is the voice's own
    int wordsPerMinute; // espeakRATE
    int wordGap;        // espeakWORDGAP, tens of milliseconds between words
};

EngineProsody engineProsody(const Prosody &prosody);

// The characters per minute the program's estimates expect at a rate of -10..10; the
// rate map is calibrated against it (bench_speech_rate measures how close it comes).
int targetCharsPerMinute(int rate);

} // namespace speech
