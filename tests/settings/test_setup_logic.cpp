#include "outputformats.h"
#include "tembrs.h"
#include "textnumber.h"

#include <gtest/gtest.h>

using tembrs::Timbre;

namespace {
const QString kClose = QStringLiteral(" </pitch> </rate> </volume>");
}

TEST(Tembrs, FormValuesGiveTheExactTags)
{
    const tembrs::Tags t = tembrs::build({85, 2, 0}, {100, 3, 5}, {70, 1, -5});
    EXPECT_EQ(t.start, QStringLiteral(R"( <volume level="85"> <rate absspeed="2"> <pitch absmiddle="0">)"));
    EXPECT_EQ(t.narration, kClose + t.start);
    EXPECT_EQ(t.dialog,
              kClose + QStringLiteral(R"( <volume level="100"> <rate absspeed="3"> <pitch absmiddle="5">)"));
    EXPECT_EQ(t.comment,
              kClose + QStringLiteral(R"( <volume level="70"> <rate absspeed="1"> <pitch absmiddle="-5">)"));
    EXPECT_EQ(t.dialog2, t.dialog);
}

TEST(Tembrs, ExtremeValuesKeepTheirSignsWithoutBlanks)
{
    const tembrs::Tags t = tembrs::build({0, -10, 10}, {100, 10, -10}, {1, -1, 0});
    EXPECT_EQ(t.start, QStringLiteral(R"( <volume level="0"> <rate absspeed="-10"> <pitch absmiddle="10">)"));
    EXPECT_EQ(t.dialog,
              kClose +
                  QStringLiteral(R"( <volume level="100"> <rate absspeed="10"> <pitch absmiddle="-10">)"));
    EXPECT_EQ(t.comment,
              kClose + QStringLiteral(R"( <volume level="1"> <rate absspeed="-1"> <pitch absmiddle="0">)"));
}

TEST(Tembrs, TestPhraseHasEverySentenceInItsTimbre)
{
    const tembrs::Tags t{"<S>", "<N>", "<D>", "<C>", "<D2>"};
    EXPECT_EQ(
        tembrs::testPhrase(t),
        QStringLiteral("<S><N> После того, как были сделаны все необходимые изменения решено было проверить "
                       "результат.<D> Ну и как? Вы удовлетворены полученным результатом? <C>Сказал компьютер "
                       "своим скрипучим голосом.<D2> Если удовлетворены, то можете сохранить настройки.<N> И "
                       "после этого пользователю ничего не оставалось, как согласиться с компьютером, потому "
                       "что он знал, что с таким голосовым движком лучшего результата добиться нельзя!"));
}

TEST(OutputFormats, ThirtySixWaveFormatsNumberedFromFour)
{
    const auto formats = outputformats::waveFormats();
    ASSERT_EQ(formats.size(), 36);
    EXPECT_EQ(formats.first().name, "SAFT8kHz8BitMono");
    EXPECT_EQ(formats.first().type, 4);
    EXPECT_EQ(formats[1].name, "SAFT8kHz8BitStereo");
    EXPECT_EQ(formats[2].name, "SAFT8kHz16BitMono");
    EXPECT_EQ(formats[4].name, "SAFT11kHz8BitMono");
    EXPECT_EQ(formats[18].name, "SAFT22kHz16BitMono");
    EXPECT_EQ(formats[18].type, 22);
    EXPECT_EQ(formats[30].name, "SAFT44kHz16BitMono");
    EXPECT_EQ(formats.last().name, "SAFT48kHz16BitStereo");
    EXPECT_EQ(formats.last().type, 39);
    for (int i = 0; i < formats.size(); ++i)
        EXPECT_EQ(formats[i].type, 4 + i);
}

TEST(OutputFormats, PresetsKeepTheirBlanks)
{
    const auto &presets = outputformats::mp3Presets();
    ASSERT_EQ(presets.size(), 6);
    EXPECT_EQ(presets[0].options, " -b128 -h -m m --strictly-enforce-ISO ");
    EXPECT_EQ(presets[1].options, " -b64 -h -m m  --strictly-enforce-ISO ");
    EXPECT_EQ(presets[3].caption, "Оптимальное качество (32 kbps, 14 МБ/час)");
    EXPECT_EQ(presets[4].caption, "Экономичное качество (16 kbps, 7 МБ/час )");
    EXPECT_EQ(presets[5].options, " -b8 -h -m m --strictly-enforce-ISO ");
    EXPECT_EQ(outputformats::defaultMp3Options(), " -b128 -h -m m   --strictly-enforce-ISO ");
}

TEST(OutputFormats, TabNamesStopBeforeWma)
{
    EXPECT_EQ(outputformats::tabName(0), "WAV");
    EXPECT_EQ(outputformats::tabName(4), "VMO");
    EXPECT_FALSE(outputformats::tabName(5));
    EXPECT_FALSE(outputformats::tabName(-1));
}

TEST(TextNumber, RoundsHalvesToEvenAndRejectsWhatIsNoNumber)
{
    EXPECT_EQ(toInt16("-3"), -3);
    EXPECT_EQ(toInt16(" 7 "), 7);
    EXPECT_EQ(toInt16("2.5"), 2);
    EXPECT_EQ(toInt16("3.5"), 4);
    EXPECT_EQ(toInt16("-0.5"), 0);
    EXPECT_EQ(toInt16("32767"), 32767);
    EXPECT_FALSE(toInt16("32768"));
    EXPECT_FALSE(toInt16("abc"));
    EXPECT_FALSE(toInt16(""));
    EXPECT_FALSE(toInt16("-"));
    EXPECT_FALSE(toInt16("inf"));
    EXPECT_FALSE(toInt16("nan"));
}
