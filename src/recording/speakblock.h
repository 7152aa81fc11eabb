#pragma once

#include <QString>

#include <optional>

// The wave format of a block's WAV file for output tab `tab` (WAV, MP3, OGG, AMR, VMO,
// WMA): the listed format's type for WAV output; 22 kHz for MP3 and OGG with a Katerina
// voice (isKaterinaVoice), else 16 kHz; 16 kHz for AMR, 8 kHz for VMO. Nothing when WAV output has
// no listed format and for WMA: the file then gets kDefaultWaveFormat.
std::optional<int> blockWaveFormat(int tab, std::optional<int> listedType, const QString &voiceDescription);

// The format of a WAV file nobody chose one for: 22 kHz, 16 bit, mono.
constexpr int kDefaultWaveFormat = 22;

// Speaks BlockText with the settings window's voice into the block's WAV file `wavPath`,
// through a temporary name that becomes `wavPath` only when the speech is whole, letting
// window events through while the engine works. A stop (StopFlag) ends the speech at the
// next poll and leaves no file. A WAV file that cannot be made is reported to the user,
// naming `wavPath`, and stops the recording (StopFlag); the result is false then. So is a
// block whose speech something else cut short. A failed block leaves no temporary file.
bool SpeakBlockToWav(const QString &wavPath);
