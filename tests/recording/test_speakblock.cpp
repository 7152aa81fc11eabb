// Speaking a block into its WAV file: format per output tab, the stop, an unwritable file.
#include "recording/speakblock.h"

#include "app/globals.h"
#include "platform/speech/espeakvoice.h"
#include "platform/speech/voice.h"
#include "recording/encoders.h"
#include "settings/setup.h"
#include "support/fakevoice.h"
#include "support/fixture.h"
#include "support/jobs.h"
#include "support/scripted.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

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
        EXPECT_TRUE(waitFor(SpeakBlockToWav(wav, nullptr))->ok());
        ASSERT_EQ(log.spoken.size(), 1);
        const auto &spoken = log.spoken[0];
        // Spoken under a temporary name that becomes the block's when the speech is whole.
        EXPECT_EQ(std::tuple(spoken.text, spoken.flags, spoken.outputFile, spoken.outputFormat),
                  std::tuple(BlockText, int(speech::Async), encoders::temporaryName(wav), type))
            << tab;
        EXPECT_EQ(QDir(home()).entryList({u"*.wav"_s}), QStringList{u"0001.wav"_s});
    }

    fakeVoices().busyPolls = 1000000; // a block that would take for ever
    s.Voice = fakeVoices().create();
    const int purges = log.purges;
    QFile::remove(wav);
    BlockSpeech *speech = SpeakBlockToWav(wav, nullptr);
    QTimer::singleShot(0, [] { StopFlag = true; });
    EXPECT_TRUE(waitFor(speech)->ok());
    EXPECT_EQ(log.purges - purges, 2); // before speaking, and at the stop
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty());
    EXPECT_TRUE(QDir(home()).entryList({u"*.wav"_s}).isEmpty()); // a stopped block leaves nothing

    // The program's exit ends the speech at once: the block fails with nothing to tell or keep.
    StopFlag = false;
    speech = SpeakBlockToWav(wav, nullptr);
    abortSpeaking();
    const auto aborted = waitFor(speech);
    EXPECT_TRUE(!aborted->ok() && aborted->failure().isEmpty());
    EXPECT_TRUE(QDir(home()).entryList({u"*.wav"_s}).isEmpty());
}

// Every failure names the block's own file once, stops the recording and leaves no temporary
// file; nothing is spoken aloud instead.
TEST_F(SpeakBlock, AFailedWavStopsWithAMessageNamingTheBlocksFileAndLeavesNoFile)
{
    const QString wav = home() + u"/0001.wav"_s;
    BlockText = u"Отец мой Андрей Петрович Гринёв в молодости своей служил при графе Минихе."_s;
    speech::EspeakVoiceFactory engine(speech::EspeakVoiceFactory::Options{{}, true});
    // A file-size limit cuts the real voice's writing short just as a full disk does.
    const auto fileSizeLimit = [] {
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 20000;
        return limit;
    };
    const std::tuple<QString, speech::SpeechEnd, bool, QString> cases[] = {
        {home() + u"/нет/0001.wav"_s, speech::SpeechEnd::Ended, false, {}},
        {wav, speech::SpeechEnd::Cut, false,
         u"речь блока прервана другой командой, блок не записан. Запустите запись снова, чтобы дописать книгу"_s},
        {wav, speech::SpeechEnd::Ended, true, u"File too large"_s},
    };
    for (const auto &[path, end, limited, reason] : cases) {
        SCOPED_TRACE(reason.toStdString());
        StopFlag = false;
        fakeVoices().log.end = end;
        setup().Voice = limited ? engine.create() : fakeVoices().create();
        ASSERT_TRUE(setup().Voice);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        if (limited) {
            const rlimit limit = fileSizeLimit();
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        const auto speech = waitFor(SpeakBlockToWav(path, nullptr));
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
        EXPECT_FALSE(speech->ok());
        EXPECT_FALSE(StopFlag) << "a failure is no stop of the user's";
        // Told by the command once its job is over, never while it runs.
        EXPECT_TRUE(scriptedPrompter().asked.isEmpty());
        if (!reason.isEmpty()) {
            EXPECT_EQ(speech->failure(),
                      u"Не удалось записать звуковой файл блока\n%1: %2"_s.arg(path, reason));
        } else { // the reason is the voice's own
            EXPECT_TRUE(
                speech->failure().startsWith(u"Не удалось записать звуковой файл блока\n%1: "_s.arg(path)));
        }
        EXPECT_TRUE(QDir(home()).entryList(QDir::Files).isEmpty());
    }
    EXPECT_EQ(fakeVoices().log.spoken.size(), 1); // the cut block's; none aloud
    EXPECT_TRUE(fakeVoices().log.spoken[0].outputFile.endsWith(u".part.wav"_s));
}
