#include "settings/outputformats.h"
#include "settings/textnumber.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <optional>
#include <utility>

TEST(OutputFormats, ThirtySixWaveFormatsNumberedFromFourAndTabNamesStopBeforeWma)
{
    const auto formats = outputformats::waveFormats();
    ASSERT_EQ(formats.size(), 36);
    for (int i = 0; i < formats.size(); ++i)
        EXPECT_EQ(formats[i].type, 4 + i) << i;
    QStringList names;
    for (int i : {0, 1, 2, 4, 8, 18, 35})
        names << formats[i].name;
    EXPECT_EQ(names,
              QStringList({"SAFT8kHz8BitMono", "SAFT8kHz8BitStereo", "SAFT8kHz16BitMono", "SAFT11kHz8BitMono",
                           "SAFT12kHz8BitMono", "SAFT22kHz16BitMono", "SAFT48kHz16BitStereo"}));
    QStringList tabs;
    for (int i : {-1, 0, 4, 5, 6})
        tabs << outputformats::tabName(i).value_or(QStringLiteral("-"));
    EXPECT_EQ(tabs, QStringList({"-", "WAV", "VMO", "WMA", "-"}));
}

TEST(TextNumber, RoundsHalvesToEvenAndRejectsWhatIsNoNumber)
{
    const std::pair<const char *, std::optional<int>> cases[] = {
        {"-3", -3}, {" 7 ", 7}, {"2.5", 2}, {"3.5", 4}, {"-0.5", 0}, {"32767", 32767}, {"32768", {}},
        {"-32768", -32768}, {"-32769", {}}, {"abc", {}}, {"", {}}, {"-", {}}, {"inf", {}}, {"nan", {}}};
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(toInt16(QString::fromLatin1(text)), expected) << text;
}
