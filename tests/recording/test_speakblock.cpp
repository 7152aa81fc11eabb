// Speaking a block into its WAV file with the fake voice: the wave format per output tab,
// the stop, and a WAV file that cannot be made.
#include "recording/speakblock.h"

#include "app/globals.h"
#include "platform/speech/voice.h"
#include "settings/setup.h"
#include "support/fakevoice.h"
#include "support/fixture.h"
#include "support/scripted.h"

#include <QComboBox>
#include <QListWidget>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(BlockWaveFormat, PerOutputTabListedFormatAndVoice)
{
    const QString scansoft = u"ScanSoft Katerina_Full_22kHz"_s;
    const QString espeak = u"Katerina (eSpeak NG, русский, женский)"_s;
    const struct
    {
        int tab;
        std::optional<int> listed;
        QString voice;
        std::optional<int> type;
    } cases[] = {
        {0, 4, espeak, 4},
        {0, 39, espeak, 39},
        {0, std::nullopt, espeak, std::nullopt},
        {1, 39, scansoft, 22},
        {1, 39, espeak, 18},
        {2, 4, scansoft, 22},
        {2, 4, u"scansoft Katerina"_s, 18},
        {3, 39, scansoft, 18},
        {4, 39, scansoft, 6},
        {5, 39, scansoft, std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(blockWaveFormat(c.tab, c.listed, c.voice), c.type) << c.tab << " " << qPrintable(c.voice);
}

TEST(BlockWaveFormat, ListedTypesGiveRateBitsAndChannels)
{
    const struct
    {
        int type, rate, bits, channels;
    } cases[] = {
        {4, 8000, 8, 1},    {5, 8000, 8, 2},    {6, 8000, 16, 1},   {18, 16000, 16, 1},
        {22, 22050, 16, 1}, {31, 32000, 16, 2}, {39, 48000, 16, 2},
    };
    for (const auto &c : cases) {
        const auto format = speech::AudioFormat::fromType(c.type);
        ASSERT_TRUE(format) << c.type;
        EXPECT_EQ(std::tuple(format->sampleRate, format->bits, format->channels),
                  std::tuple(c.rate, c.bits, c.channels))
            << c.type;
    }
    EXPECT_FALSE(speech::AudioFormat::fromType(3));
    EXPECT_FALSE(speech::AudioFormat::fromType(40));
}

class SpeakBlock : public QuenvaleTest
{
protected:
    FakeSpeechLog &log() { return fakeVoices().log; }
    QString wav() const { return home() + u"/0001.wav"_s; }
};

TEST_F(SpeakBlock, SpeaksTheBlockIntoTheFileOfTheTabsFormat)
{
    ::Setup &s = setup();
    const struct
    {
        int tab;
        const char *listed;
        int type;
    } cases[] = {
        {0, "SAFT8kHz8BitMono", 4},
        {0, "SAFT48kHz16BitStereo", 39},
        {0, nullptr, kDefaultWaveFormat},
        {1, "SAFT8kHz8BitMono", 18},
        {4, nullptr, 6},
        {5, "SAFT8kHz8BitMono", kDefaultWaveFormat},
    };
    BlockText = u" <silence msec=\"0\"/> Жил-был кот. <silence msec=\"0\"/>"_s;
    for (const auto &c : cases) {
        log().spoken.clear();
        s.SSTab1->setCurrentIndex(c.tab);
        s.FormatCB->setCurrentIndex(c.listed ? s.FormatCB->findText(QLatin1String(c.listed)) : -1);

        EXPECT_TRUE(SpeakBlockToWav(wav()));
        ASSERT_EQ(log().spoken.size(), 1) << c.tab;
        const FakeSpeechLog::Spoken &said = log().spoken[0];
        EXPECT_EQ(said.text, BlockText);
        EXPECT_EQ(said.flags, speech::Async);
        EXPECT_EQ(said.outputFile, wav());
        EXPECT_EQ(said.outputFormat, c.type) << c.tab << " " << c.listed;
    }
    EXPECT_FALSE(StopFlag);
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty());
}

TEST_F(SpeakBlock, StopEndsTheSpeechAtTheNextPoll)
{
    fakeVoices().busyPolls = 1000000;
    setup();
    BlockText = u"Долгий блок."_s;
    const int purgesBefore = log().purges;
    QTimer::singleShot(0, [] { StopFlag = true; });

    EXPECT_TRUE(SpeakBlockToWav(wav()));
    // One purge before speaking, one at the stop.
    EXPECT_EQ(log().purges - purgesBefore, 2);
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty());
}

TEST_F(SpeakBlock, AWavThatCannotBeMadeStopsWithAMessageAndNothingIsSpokenAloud)
{
    setup();
    BlockText = u"Текст."_s;
    const QString nowhere = home() + u"/нет/0001.wav"_s;

    EXPECT_FALSE(SpeakBlockToWav(nowhere));
    EXPECT_TRUE(StopFlag);
    EXPECT_TRUE(log().spoken.isEmpty());
    ASSERT_EQ(scriptedPrompter().asked.size(), 1);
    EXPECT_EQ(scriptedPrompter().asked[0].icon, Prompter::Icon::Critical);
    EXPECT_TRUE(
        scriptedPrompter().asked[0].text.startsWith(u"Не удалось записать звуковой файл блока\n"_s + nowhere))
        << qPrintable(scriptedPrompter().asked[0].text);
}

TEST_F(SpeakBlock, NoSpeechEngineIsAFailureToo)
{
    fakeVoices().engineAvailable = false;
    scriptedPrompter().answers.enqueue(Prompter::Answer::Ok); // the settings window's own complaint
    setup();
    scriptedPrompter().asked.clear();

    EXPECT_FALSE(SpeakBlockToWav(wav()));
    EXPECT_TRUE(StopFlag);
    ASSERT_EQ(scriptedPrompter().asked.size(), 1);
    EXPECT_TRUE(scriptedPrompter().asked[0].text.contains(wav()));
}
