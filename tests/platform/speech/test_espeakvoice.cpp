// Speech into real files: the WAV writer on its own, then the real eSpeak NG voice.
#include "platform/speech/wavwriter.h"
#include "support/testdata.h"
#include "wavcheck.h"

#include <QDir>
#include <QElapsedTimer>

#include <csignal>
#include <cstdlib>
#include <vector>

#include <sys/resource.h>

using namespace Qt::StringLiterals;
using speech::EspeakVoiceFactory;
using speech::WavWriter;

namespace {

class WavWriterTest : public testing::Test
{
protected:
    // Writes speech in pieces, as the engine delivers them, then silence; reads the closed file back.
    WavFile write(int type, const std::vector<qint16> &samples, int silenceMs = 0, int sourceRate = 22050)
    {
        WavWriter w(sourceRate);
        EXPECT_TRUE(w.open(file, *speech::AudioFormat::fromType(type)));
        for (size_t at = 0; at < samples.size(); at += 1103)
            EXPECT_TRUE(w.writeSpeech(samples.data() + at, std::min<size_t>(1103, samples.size() - at)));
        EXPECT_TRUE(w.writeSilence(silenceMs));
        EXPECT_TRUE(w.close());
        WavFile f = readWav(file);
        EXPECT_TRUE(f.valid()) << qPrintable(f.problem);
        return f;
    }
    QTemporaryDir dir;
    QString file = dir.filePath(u"out.wav"_s);
};

TEST_F(WavWriterTest, SilenceAndSamplesAreExactToTheByte)
{
    EXPECT_EQ(write(39, {}, 1000).data, QByteArray(192000, '\0'));
    // The headers as an independent reader sees them.
    EXPECT_EQ(soxInfo(file), u"48000|2|16|Signed Integer PCM|48000"_s);
    // 8-bit samples are unsigned; 1 ms at 11.025 kHz is an odd data chunk, which takes a pad byte.
    EXPECT_EQ(write(8, {}, 1).data, QByteArray(11, char(0x80)));
    EXPECT_EQ(write(4, {0, 32767, -32768, 256, -1}, 0, 8000).data, QByteArray::fromHex("80ff00817f"));
    EXPECT_EQ(soxInfo(file), u"8000|1|8|Unsigned Integer PCM|5"_s);
    EXPECT_EQ(write(23, {0, 32767}).data, QByteArray::fromHex("00000000ff7fff7f")) << "both channels";
}

TEST_F(WavWriterTest, ResamplingKeepsDurationAndLevel)
{
    std::vector<qint16> tone(22050);
    for (size_t i = 0; i < tone.size(); ++i)
        tone[i] = static_cast<qint16>(std::lround(10000 * std::sin(2 * M_PI * 440 * double(i) / 22050)));
    for (const auto &[type, rate] : {std::pair(39, 48000), std::pair(4, 8000), std::pair(18, 16000)}) {
        SCOPED_TRACE(type);
        const WavFile f = write(type, tone);
        EXPECT_NEAR(f.frames(), rate, 2);
        if (f.bits == 16) { // the level, and again over the last samples, which the flush gives
            EXPECT_NEAR(f.rms(), 10000 / std::sqrt(2.0), 300);
            EXPECT_NEAR(f.rms(f.frames() * f.channels - 100), 10000 / std::sqrt(2.0), 1000);
        }
    }
}

TEST_F(WavWriterTest, HeaderIsCompleteAfterEverySyncAndAgainAfterClose)
{
    const std::vector<qint16> tone(11025, 5000);
    WavWriter w(22050);
    ASSERT_TRUE(w.open(file, *speech::AudioFormat::fromType(22)));
    ASSERT_TRUE(w.writeSpeech(tone.data(), tone.size()) && w.sync());
    const WavFile synced = readWav(file);
    EXPECT_TRUE(synced.valid() && synced.frames() == qint64(tone.size())) << qPrintable(synced.problem);
    ASSERT_TRUE(w.writeSilence(100) && w.close());
    EXPECT_EQ(readWav(file).frames(), qint64(tone.size()) + 2205);
}

TEST_F(WavWriterTest, AWriteCutShortGivesTheSystemsReason)
{
    // A file size limit cuts a write short just as a disk that fills up does.
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit limit = old;
    limit.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &limit);
    const std::vector<qint16> tone(22050, 5000);
    WavWriter w(22050);
    const bool written =
        w.open(file, *speech::AudioFormat::fromType(22)) && w.writeSpeech(tone.data(), tone.size());
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(written || w.writeSilence(0) || w.sync()); // and the writer stays failed
    EXPECT_EQ(w.errorString(), u"File too large"_s);
}

const QString sentence = u"Петр Андреевич Гринев рос в деревне и до шестнадцати лет жил недорослем, "
                         u"гоняя голубей и играя в чехарду с дворовыми мальчишками."_s;

QString corpusText(qsizetype length)
{
    return testdata::text(u"kapitanskaya_dochka.txt"_s).mid(20000, length);
}

QString key(const speech::VoiceToken &v)
{
    return v.id + u'=' + v.description;
}

using EspeakVoiceTest = EngineTest<>;

TEST_F(EspeakVoiceTest, VoicesAreStableUniqueAndEachSpeaksARussianSentence)
{
    QStringList keys, ids, descriptions, again;
    for (const auto &v : voice->GetVoices()) {
        keys << key(v);
        ids << v.id;
        descriptions << v.description;
    }
    for (const auto &v : voice->GetVoices() + factory->create()->GetVoices())
        again << key(v);
    EXPECT_EQ(again, keys + keys);
    ASSERT_GE(keys.size(), 2);
    EXPECT_EQ(ids.removeDuplicates() + descriptions.removeDuplicates(), 0);
    // The voices the replacement lists are named after.
    EXPECT_TRUE(descriptions[0].contains("Nicolai"_L1));
    EXPECT_EQ(descriptions.filter(u"Katerina"_s).size(), 1);
    EXPECT_FALSE(voice->SelectVoice(u"en"_s));
    EXPECT_EQ(key(voice->CurrentVoice()), keys[0]);

    const WavFile f = speak(sentence);
    // Between 400 and 1500 characters a minute at the normal rate.
    EXPECT_GT(f.seconds(), sentence.size() / 1500.0 * 60);
    EXPECT_LT(f.seconds(), sentence.size() / 400.0 * 60);
    EXPECT_GT(f.rms(), 1000) << "speech, not silence";
    EXPECT_GT(speak(u"Да."_s).seconds(), 0.2) << "a one-word text is spoken from its start";
    for (const auto &v : voice->GetVoices()) {
        ASSERT_TRUE(voice->SelectVoice(v.id));
        EXPECT_EQ(key(voice->CurrentVoice()), key(v));
        EXPECT_GT(speak(sentence).seconds(), 1.0) << qPrintable(v.id);
    }
}

TEST_F(EspeakVoiceTest, SilenceAndProsodyMarkup)
{
    EXPECT_EQ(speak(uR"(<silence msec="1000"/>)"_s, speech::IsXML).data, QByteArray(44100, '\0'));
    // A book's own tags: a silence is cut to a minute, single-quoted tags are only text.
    EXPECT_EQ(speak(uR"(<silence msec="600000"/>)"_s, speech::IsXML).seconds(), 60.0);
    EXPECT_LT(speak(u"Да. <silence msec='600000'/>Нет."_s, speech::IsXML).seconds(), 10.0);
    // Without the markup flag a text that starts with a tag is still read as markup.
    EXPECT_EQ(speak(uR"( <silence msec="250"/>)"_s, speech::Async, 4).data, QByteArray(2000, char(0x80)));

    const double slow = speak(uR"(<rate absspeed="-5">)"_s + sentence, speech::IsXML).seconds();
    EXPECT_GT(slow, 2 * speak(uR"(<rate absspeed="5">)"_s + sentence, speech::IsXML).seconds());
    const WavFile quiet = speak(uR"(<volume level="0">)"_s + sentence, speech::IsXML);
    EXPECT_GT(quiet.frames(), 0);
    EXPECT_EQ(quiet.rms(), 0);
}

TEST_F(EspeakVoiceTest, PausedSpeechWaitsForResumeAndAPurgeEndsALongTextWithinAFewPolls)
{
    ASSERT_TRUE(voice->OpenOutputFile(file, 22));
    voice->Pause();
    ASSERT_TRUE(voice->Speak(sentence, speech::Async));
    EXPECT_FALSE(voice->WaitUntilDone(300));
    voice->Resume();
    EXPECT_TRUE(voice->WaitUntilDone(60000));
    ASSERT_TRUE(voice->Speak(corpusText(10000), speech::Async));
    EXPECT_FALSE(voice->WaitUntilDone(10));
    // As the recording stops: a purge with an empty text.
    ASSERT_TRUE(voice->Speak(QString(), speech::PurgeBeforeSpeak));
    int polls = 1;
    while (!voice->WaitUntilDone(10) && polls < 500)
        ++polls;
    EXPECT_LE(polls, 20);
    EXPECT_EQ(voice->LastEnd(), speech::SpeechEnd::Purged);
    ASSERT_TRUE(voice->CloseOutputFile()) << qPrintable(voice->LastError());
    const WavFile f = readWav(file);
    ASSERT_TRUE(f.valid()) << qPrintable(f.problem);
    EXPECT_EQ(soxInfo(file), "22050|1|16|Signed Integer PCM|"_L1 + QString::number(f.frames()));
    EXPECT_GT(f.seconds(), 1.0) << "the paused sentence, spoken after all";
    EXPECT_LT(f.seconds(), 300) << "the whole text lasts about ten minutes";
}

TEST_F(EspeakVoiceTest, AloudSpeechTakesRealTimeWithoutSoundCardAndAnyVoicePurgesIt)
{
    const QString phrase = uR"(<silence msec="300"/>Раз, два.)"_s;
    const double seconds = speak(phrase, speech::IsXML).seconds();
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(voice->Speak(phrase, speech::Async | speech::PurgeBeforeSpeak | speech::IsXML));
    ASSERT_TRUE(voice->WaitUntilDone(60000));
    EXPECT_GE(clock.elapsed(), seconds * 1000 * 0.9);
    EXPECT_EQ(voice->LastEnd(), speech::SpeechEnd::Ended);

    ASSERT_TRUE(voice->Speak(corpusText(2000), speech::Async) && voice->Speak(sentence, speech::Async));
    EXPECT_FALSE(voice->WaitUntilDone(50));
    ASSERT_TRUE(factory->create()->Speak(QString(), speech::Async | speech::PurgeBeforeSpeak));
    EXPECT_TRUE(voice->WaitUntilDone(5000));
    EXPECT_EQ(voice->LastEnd(), speech::SpeechEnd::Cut) << "its last text, queued, was cut as well";
}

TEST_F(EspeakVoiceTest, OutputFileFailuresAreReturned)
{
    for (const auto &[path, type] :
         {std::pair(dir.filePath(u"no/such/folder/x.wav"_s), 22), std::pair(file, 3), std::pair(file, 40)}) {
        EXPECT_FALSE(voice->OpenOutputFile(path, type)) << type;
        EXPECT_TRUE(voice->WaitUntilDone(0) && !voice->LastError().isEmpty()) << type; // waiting keeps it
    }
    if (!QFile::exists(u"/dev/full"_s))
        GTEST_SKIP() << "no /dev/full";
    // A full disk is known from the header on, by the system's reason.
    EXPECT_FALSE(voice->OpenOutputFile(u"/dev/full"_s, 22));
    EXPECT_EQ(voice->LastError(), u"No space left on device"_s);
}

// A start from broken engine data: 1 when no voice is made, 2 when it has no voices and cannot speak.
int brokenStart(const QString &dataDir)
{
    EspeakVoiceFactory f(EspeakVoiceFactory::Options{dataDir, true});
    const auto v = f.create();
    if (!v)
        return f.errorString().isEmpty() ? 0 : 1;
    const bool fails = v->GetVoices().isEmpty() && !v->Speak(sentence, 0) && !v->LastError().isEmpty();
    return fails && !v->Speak(sentence, speech::Async) ? 2 : 0;
}

// eSpeak starts once per process, so each start runs in a child.
TEST(EspeakStartDeathTest, BrokenEngineDataIsReportedToTheCaller)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QTemporaryDir copy;
    const QString data = copy.filePath(u"espeak-ng-data"_s);
    QDir().mkpath(data);
    EXPECT_EXIT(std::exit(brokenStart(copy.path())), testing::ExitedWithCode(1), "");

    // The installed data without the Russian dictionary.
    const QString installed = output(u"espeak-ng"_s, {u"--version"_s}).section("Data at: "_L1, 1);
    if (!QFile::exists(installed + u"/ru_dict"_s))
        GTEST_SKIP() << "installed eSpeak data not found";
    for (const QString &name : QDir(installed).entryList(QDir::NoDotAndDotDot | QDir::AllEntries)) {
        if (name != "ru_dict"_L1)
            QFile::link(installed + u'/' + name, data + u'/' + name);
    }
    EXPECT_EXIT(std::exit(brokenStart(copy.path())), testing::ExitedWithCode(2), "");
}

} // namespace
