#pragma once

#include <QList>
#include <QString>

#include <optional>

// The fixed contents of the recording page: wave formats, MP3 presets, format tabs.
namespace outputformats {

struct WaveFormat
{
    QString name; // "SAFT22kHz16BitMono"
    int type;     // its type number, 4..39
};

// The 36 wave formats: for each rate from 8 to 48 kHz, 8-bit mono, 8-bit stereo,
// 16-bit mono, 16-bit stereo.
QList<WaveFormat> waveFormats();
// The wave format of a fresh window.
QString defaultWaveFormat();

struct Mp3Preset
{
    QString caption;
    QString options; // the encoder options, blanks included
};

const QList<Mp3Preset> &mp3Presets();
// The encoder options of a fresh window: preset 0's with three blanks before "--".
QString defaultMp3Options();

// The status-bar name of an output-format tab; nothing for another index.
std::optional<QString> tabName(int tab);

} // namespace outputformats
