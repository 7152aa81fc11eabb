#include "settings/outputformats.h"

#include <iterator>

namespace outputformats {

QList<WaveFormat> waveFormats()
{
    static const int rates[] = {8, 11, 12, 16, 22, 24, 32, 44, 48};
    QList<WaveFormat> formats;
    int type = 4;
    for (int rate : rates)
        for (int bits : {8, 16})
            for (const char *channels : {"Mono", "Stereo"})
                formats.append(
                    {QStringLiteral("SAFT%1kHz%2Bit%3").arg(rate).arg(bits).arg(QLatin1String(channels)),
                     type++});
    return formats;
}

QString defaultWaveFormat()
{
    return QStringLiteral("SAFT22kHz16BitMono");
}

const QList<Mp3Preset> &mp3Presets()
{
    static const QList<Mp3Preset> presets = {
        {QStringLiteral("Высокое качество (128 kbps, 56 МБ/час)"),
         QStringLiteral(" -b128 -h -m m --strictly-enforce-ISO ")},
        {QStringLiteral("Среднее качество (64 kbps, 28 МБ/час)"),
         QStringLiteral(" -b64 -h -m m  --strictly-enforce-ISO ")},
        {QStringLiteral("Среднее качество (48 kbps, 20 МБ/час)"),
         QStringLiteral(" -b48 -h -m m  --strictly-enforce-ISO ")},
        {QStringLiteral("Оптимальное качество (32 kbps, 14 МБ/час)"),
         QStringLiteral(" -b32 -h -m m  --strictly-enforce-ISO ")},
        {QStringLiteral("Экономичное качество (16 kbps, 7 МБ/час )"),
         QStringLiteral(" -b16 -h -m m --strictly-enforce-ISO ")},
        {QStringLiteral("Сверхэкономичное качество (8 kbps, 3.5 МБ/час)"),
         QStringLiteral(" -b8 -h -m m --strictly-enforce-ISO ")},
    };
    return presets;
}

QString defaultMp3Options()
{
    return QStringLiteral(" -b128 -h -m m   --strictly-enforce-ISO ");
}

std::optional<QString> tabName(int tab)
{
    static const char *names[] = {"WAV", "MP3", "OGG", "AMR", "VMO", "WMA"};
    if (tab < 0 || tab >= int(std::size(names)))
        return std::nullopt;
    return QString::fromLatin1(names[tab]);
}

} // namespace outputformats
