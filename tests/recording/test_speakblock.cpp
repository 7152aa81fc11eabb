// Speaking a block into its WAV file: format per output tab, the stop, an unwritable file.
#include "recording/speakblock.h"

#include "app/globals.h"
#include "platform/speech/voice.h"
#include "settings/setup.h"
#include "support/fakevoice.h"
#include "support/fixture.h"
#include "support/scripted.h"

#include <QComboBox>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(BlockWaveFormat, PerTabListedFormatAndVoice)
{
    const QString scansoft = u"ScanSoft Katerina_Full_22kHz"_s, espeak = u"Katerina (eSpeak NG)"_s;
    const std::tuple<int, std::optional<int>, QString, std::optional<int>> cases[] = {
        {0, 4, scansoft, 4},  {0, std::nullopt, espeak, std::nullopt}, {1, 39, scansoft, 22},
        {2, 39, espeak, 22},  {1, 39, u"Nicolai (eSpeak NG)"_s, 18},   {3, 39, scansoft, 18},
        {4, 39, scansoft, 6}, {5, 39, scansoft, std::nullopt},
    };
    for (const auto &[tab, listed, voice, type] : cases)
        EXPECT_EQ(blockWaveFormat(tab, listed, voice), type) << tab << qPrintable(voice);
    // The listed types: 4 + 4 × rate position + 2 for 16 bits + 1 for stereo.
    for (const auto &[type, rate, bits, channels] :
         {std::tuple{4, 8000, 8, 1}, {18, 16000, 16, 1}, {31, 32000, 16, 2}, {37, 48000, 8, 2}}) {
        const auto f = speech::AudioFormat::fromType(type).value_or(speech::AudioFormat{});
        EXPECT_EQ(std::tuple(f.sampleRate, f.bits, f.channels), std::tuple(rate, bits, channels)) << type;
    }
}

using SpeakBlock = QuenvaleTest;

TEST_F(SpeakBlock, SpeaksIntoTheFileOfTheTabsFormatAndStopsAtTheNextPoll)
{
    ::Setup &s = setup();
    FakeSpeechLog &log = fakeVoices().log;
    const QString wav = home() + u"/0001.wav"_s;
    BlockText = u" <silence msec=\"0\"/> Жил-был кот."_s;
    // The format of each tab is pinned above; here the listed one and the fall-back reach the voice.
    for (const auto &[tab, listed, type] :
         {std::tuple{0, "SAFT48kHz16BitStereo", 39}, {5, "SAFT8kHz8BitMono", kDefaultWaveFormat}}) {
        log.spoken.clear();
        s.SSTab1->setCurrentIndex(tab);
        s.FormatCB->setCurrentIndex(s.FormatCB->findText(QLatin1String(listed)));
        EXPECT_TRUE(SpeakBlockToWav(wav));
        ASSERT_EQ(log.spoken.size(), 1);
        const auto &spoken = log.spoken[0];
        EXPECT_EQ(std::tuple(spoken.text, spoken.flags, spoken.outputFile, spoken.outputFormat),
                  std::tuple(BlockText, int(speech::Async), wav, type))
            << tab;
    }

    fakeVoices().busyPolls = 1000000; // a block that would take for ever
    s.Voice = fakeVoices().create();
    const int purges = log.purges;
    QTimer::singleShot(0, [] { StopFlag = true; });
    EXPECT_TRUE(SpeakBlockToWav(wav));
    EXPECT_EQ(log.purges - purges, 2); // before speaking, and at the stop
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty());
}

TEST_F(SpeakBlock, AWavThatCannotBeMadeStopsWithAMessageAndNothingIsSpokenAloud)
{
    setup();
    const QString nowhere = home() + u"/нет/0001.wav"_s;
    EXPECT_FALSE(SpeakBlockToWav(nowhere));
    EXPECT_TRUE(StopFlag);
    EXPECT_TRUE(fakeVoices().log.spoken.isEmpty());
    ASSERT_EQ(scriptedPrompter().asked.size(), 1);
    const auto &asked = scriptedPrompter().asked[0];
    EXPECT_EQ(asked.icon, Prompter::Icon::Critical);
    EXPECT_TRUE(asked.text.startsWith(u"Не удалось записать звуковой файл блока\n"_s + nowhere));
}
