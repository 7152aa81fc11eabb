// The real eSpeak NG voice, speaking into real files.
#include "speech/espeakvoice.h"

#include "cp1251.h"
#include "wavcheck.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

using speech::EspeakVoiceFactory;
using speech::Voice;

namespace {

const QString sentence =
    QStringLiteral("Петр Андреевич Гринев рос в деревне и до шестнадцати лет "
                   "жил недорослем, гоняя голубей и играя в чехарду с дворовыми мальчишками.");

QString corpusText(qsizetype length)
{
    QFile f(QStringLiteral(QUENVALE_CORPUS_DIR "/kapitanskaya_dochka.txt"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return cp1251::decode(f.readAll()).mid(20000, length);
}

QStringList described(const QList<speech::VoiceToken> &voices)
{
    QStringList out;
    for (const auto &v : voices)
        out << v.id + u'=' + v.description;
    return out;
}

QString describedOne(const speech::VoiceToken &v)
{
    return v.id + u'=' + v.description;
}

// Where the installed eSpeak keeps its data, as the command-line program says.
QString installedData()
{
    QProcess p;
    p.start(QStringLiteral("espeak-ng"), {QStringLiteral("--version")});
    p.waitForFinished(30000);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const qsizetype at = out.indexOf(QLatin1String("Data at: "));
    return at < 0 ? QString() : out.mid(at + 9).trimmed();
}

class EspeakVoiceTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        factory = new EspeakVoiceFactory(EspeakVoiceFactory::Options{QString(), true});
    }
    static void TearDownTestSuite()
    {
        delete factory;
        factory = nullptr;
    }

    void SetUp() override
    {
        voice = factory->create();
        ASSERT_TRUE(voice) << factory->errorString().toStdString();
        ASSERT_FALSE(voice->GetVoices().isEmpty()) << "the Russian voice of espeak-ng-data is missing";
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    // Speaks into a new file and reads it back.
    WavFile speakToFile(const QString &name, const QString &text, int flags, int type = 22)
    {
        EXPECT_TRUE(voice->OpenOutputFile(path(name), type)) << voice->LastError().toStdString();
        EXPECT_TRUE(voice->Speak(text, flags)) << voice->LastError().toStdString();
        EXPECT_TRUE(voice->WaitUntilDone(60000));
        EXPECT_TRUE(voice->CloseOutputFile()) << voice->LastError().toStdString();
        return readWav(path(name));
    }

    static EspeakVoiceFactory *factory;
    std::unique_ptr<Voice> voice;
    QTemporaryDir dir;
};

EspeakVoiceFactory *EspeakVoiceTest::factory = nullptr;

TEST_F(EspeakVoiceTest, VoiceListIsStableUniqueAndNamesTheReplacementListVoices)
{
    const auto voices = voice->GetVoices();
    EXPECT_EQ(described(voices), described(voice->GetVoices()));
    EXPECT_EQ(described(voices), described(factory->create()->GetVoices()));
    ASSERT_GE(voices.size(), 2);
    QStringList ids;
    QStringList descriptions;
    for (const auto &v : voices) {
        ids << v.id;
        descriptions << v.description;
    }
    EXPECT_EQ(ids.removeDuplicates(), 0);
    EXPECT_EQ(descriptions.removeDuplicates(), 0);
    EXPECT_TRUE(voices[0].description.contains(QLatin1String("Nicolai")));
    EXPECT_EQ(descriptions.filter(QStringLiteral("Katerina")).size(), 1);

    EXPECT_EQ(describedOne(voice->CurrentVoice()), describedOne(voices[0]));
    for (const auto &v : voices) {
        EXPECT_TRUE(voice->SelectVoice(v.id));
        EXPECT_EQ(describedOne(voice->CurrentVoice()), describedOne(v));
    }
    EXPECT_FALSE(voice->SelectVoice(QStringLiteral("en")));
    EXPECT_EQ(describedOne(voice->CurrentVoice()), describedOne(voices.back()));
}

TEST_F(EspeakVoiceTest, RussianSentenceGivesSpeechOfPlausibleLength)
{
    const WavFile f = speakToFile(QStringLiteral("sentence.wav"), sentence, 0);
    ASSERT_TRUE(f.valid) << f.problem.toStdString();
    // Between 400 and 1500 characters a minute at the normal rate.
    EXPECT_GT(f.seconds(), sentence.size() / 1500.0 * 60);
    EXPECT_LT(f.seconds(), sentence.size() / 400.0 * 60);
    qint16 peak = 0;
    for (qint64 i = 0; i < f.frames(); ++i)
        peak = std::max<qint16>(peak, std::abs(f.sample16(i)));
    EXPECT_GT(peak, 3000) << "speech, not silence";

    // Every voice speaks, each in its own way.
    for (const auto &v : voice->GetVoices()) {
        ASSERT_TRUE(voice->SelectVoice(v.id));
        const WavFile other = speakToFile(QStringLiteral("voice.wav"), sentence, 0);
        EXPECT_GT(other.seconds(), 1.0) << v.id.toStdString();
    }
}

TEST_F(EspeakVoiceTest, WavFormatsReadBackBySox)
{
    struct Expected
    {
        int type;
        const char *rate, *channels, *bits, *encoding;
    };
    const Expected formats[] = {{4, "8000", "1", "8", "Unsigned Integer PCM"},
                                {22, "22050", "1", "16", "Signed Integer PCM"},
                                {39, "48000", "2", "16", "Signed Integer PCM"}};
    double seconds22 = 0;
    for (const Expected &e : formats) {
        const QString name = QStringLiteral("f%1.wav").arg(e.type);
        const WavFile f = speakToFile(name, sentence, 0, e.type);
        ASSERT_TRUE(f.valid) << f.problem.toStdString();
        EXPECT_EQ(soxi(path(name), "-r"), QLatin1String(e.rate));
        EXPECT_EQ(soxi(path(name), "-c"), QLatin1String(e.channels));
        EXPECT_EQ(soxi(path(name), "-b"), QLatin1String(e.bits));
        EXPECT_EQ(soxi(path(name), "-e"), QLatin1String(e.encoding));
        EXPECT_EQ(soxi(path(name), "-s"), QString::number(f.frames()));
        if (e.type == 22) {
            seconds22 = f.seconds();
        } else if (seconds22 > 0) {
            EXPECT_NEAR(f.seconds(), seconds22, 0.05) << "type " << e.type;
        }
    }
}

TEST_F(EspeakVoiceTest, SilenceMarkupIsExactZeroSamples)
{
    const WavFile f = speakToFile(QStringLiteral("silence.wav"), QStringLiteral(R"(<silence msec="1000"/>)"),
                                  speech::IsXML);
    ASSERT_TRUE(f.valid) << f.problem.toStdString();
    EXPECT_EQ(f.frames(), 22050);
    EXPECT_EQ(f.data, QByteArray(44100, '\0'));

    // Without the markup flag a text that starts with a tag is still read as markup.
    const WavFile g = speakToFile(QStringLiteral("silence4.wav"), QStringLiteral(R"( <silence msec="250"/>)"),
                                  speech::Async, 4);
    ASSERT_TRUE(g.valid) << g.problem.toStdString();
    EXPECT_EQ(g.data, QByteArray(2000, char(0x80)));
}

TEST_F(EspeakVoiceTest, ProsodyMarkupChangesTheSpeech)
{
    const QString slow = QStringLiteral(R"(<rate absspeed="-5">)") + sentence;
    const QString fast = QStringLiteral(R"(<rate absspeed="5">)") + sentence;
    const WavFile slowFile = speakToFile(QStringLiteral("slow.wav"), slow, speech::IsXML);
    const WavFile fastFile = speakToFile(QStringLiteral("fast.wav"), fast, speech::IsXML);
    EXPECT_GT(slowFile.seconds(), 2 * fastFile.seconds());

    const WavFile quiet = speakToFile(QStringLiteral("quiet.wav"),
                                      QStringLiteral(R"(<volume level="0">)") + sentence, speech::IsXML);
    ASSERT_GT(quiet.frames(), 0);
    EXPECT_EQ(quiet.data, QByteArray(quiet.data.size(), '\0'));
}

TEST_F(EspeakVoiceTest, PurgeEndsALongTextWithinAFewPollsAndLeavesAValidFile)
{
    const QString text = corpusText(10000);
    ASSERT_EQ(text.size(), 10000);
    ASSERT_TRUE(voice->OpenOutputFile(path(QStringLiteral("purged.wav")), 22));
    ASSERT_TRUE(voice->Speak(text, speech::Async));
    EXPECT_FALSE(voice->WaitUntilDone(10));
    // As the recording stops: a purge with an empty text.
    ASSERT_TRUE(voice->Speak(QString(), speech::PurgeBeforeSpeak));
    int polls = 1;
    while (!voice->WaitUntilDone(10) && polls < 500)
        ++polls;
    EXPECT_LE(polls, 20);
    ASSERT_TRUE(voice->CloseOutputFile()) << voice->LastError().toStdString();
    const WavFile f = readWav(path(QStringLiteral("purged.wav")));
    ASSERT_TRUE(f.valid) << f.problem.toStdString();
    EXPECT_EQ(soxi(path(QStringLiteral("purged.wav")), "-s"), QString::number(f.frames()));
    // The whole text would last about ten minutes.
    EXPECT_LT(f.seconds(), 300);
}

TEST_F(EspeakVoiceTest, AloudSpeechWithoutSoundCardTakesRealTime)
{
    const QString phrase = QStringLiteral("Раз, два, три, четыре, пять.");
    const double seconds = speakToFile(QStringLiteral("length.wav"), phrase, 0).seconds();
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(voice->Speak(phrase, speech::Async | speech::PurgeBeforeSpeak | speech::IsXML));
    EXPECT_FALSE(voice->WaitUntilDone(0));
    ASSERT_TRUE(voice->WaitUntilDone(60000));
    EXPECT_GE(clock.elapsed(), seconds * 1000 * 0.9);
}

TEST_F(EspeakVoiceTest, PurgeByAnyVoiceSilencesAll)
{
    auto other = factory->create();
    ASSERT_TRUE(voice->Speak(corpusText(2000), speech::Async));
    ASSERT_TRUE(voice->Speak(sentence, speech::Async));
    EXPECT_FALSE(voice->WaitUntilDone(50));
    ASSERT_TRUE(other->Speak(QString(), speech::Async | speech::PurgeBeforeSpeak));
    EXPECT_TRUE(voice->WaitUntilDone(5000));
}

TEST_F(EspeakVoiceTest, PausedVoiceHoldsItsSpeechUntilResumed)
{
    ASSERT_TRUE(voice->OpenOutputFile(path(QStringLiteral("paused.wav")), 22));
    voice->Pause();
    ASSERT_TRUE(voice->Speak(sentence, speech::Async));
    EXPECT_FALSE(voice->WaitUntilDone(300));
    voice->Resume();
    EXPECT_TRUE(voice->WaitUntilDone(60000));
    ASSERT_TRUE(voice->CloseOutputFile());
    EXPECT_GT(readWav(path(QStringLiteral("paused.wav"))).seconds(), 1.0);
}

TEST_F(EspeakVoiceTest, OutputFileFailuresAreReturned)
{
    EXPECT_FALSE(voice->OpenOutputFile(path(QStringLiteral("no/such/folder/x.wav")), 22));
    EXPECT_FALSE(voice->LastError().isEmpty());
    EXPECT_FALSE(voice->OpenOutputFile(path(QStringLiteral("x.wav")), 3));
    EXPECT_FALSE(voice->LastError().isEmpty());

    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    ASSERT_TRUE(voice->OpenOutputFile(QStringLiteral("/dev/full"), 22));
    EXPECT_FALSE(voice->Speak(sentence, 0));
    EXPECT_FALSE(voice->LastError().isEmpty());
    EXPECT_FALSE(voice->Speak(sentence, speech::Async)) << "the broken file is known by now";
    EXPECT_FALSE(voice->CloseOutputFile());
}

// eSpeak starts once per process, so a start from a broken data folder runs in a child.
class EspeakStartDeathTest : public testing::Test
{
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(EspeakStartDeathTest, MissingEngineDataGivesNoVoice)
{
    QTemporaryDir empty;
    QDir(empty.path()).mkdir(QStringLiteral("espeak-ng-data"));
    EXPECT_EXIT(
        {
            EspeakVoiceFactory f(EspeakVoiceFactory::Options{empty.path(), true});
            const bool refused = !f.create() && !f.errorString().isEmpty();
            std::exit(refused ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(EspeakStartDeathTest, MissingRussianDataMakesSpeakFail)
{
    // The engine's data without the Russian dictionary.
    const QString installed = installedData();
    if (!QFileInfo::exists(installed + QStringLiteral("/ru_dict")))
        GTEST_SKIP() << "installed eSpeak data not found";
    QTemporaryDir copy;
    const QString data = copy.filePath(QStringLiteral("espeak-ng-data"));
    QDir().mkpath(data);
    for (const QString &name : QDir(installed).entryList(QDir::NoDotAndDotDot | QDir::AllEntries)) {
        if (name != QLatin1String("ru_dict"))
            QFile::link(installed + u'/' + name, data + u'/' + name);
    }
    EXPECT_EXIT(
        {
            EspeakVoiceFactory f(EspeakVoiceFactory::Options{copy.path(), true});
            auto v = f.create();
            const bool ok = v && v->GetVoices().isEmpty() && !v->Speak(sentence, 0) &&
                            !v->LastError().isEmpty() && !v->Speak(sentence, speech::Async);
            std::exit(ok ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
