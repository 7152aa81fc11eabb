// The real eSpeak NG voice speaks a block; the real encoders turn it into every output
// format; independent readers (ffprobe, soxi, the AMR frame layout) check what they made.
#include "recording/encodeblock.h"

#include "app/globals.h"
#include "platform/speech/espeakvoice.h"
#include "settings/setup.h"
#include "support/fixture.h"
#include "support/scripted.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTabWidget>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// "key=value" lines of ffprobe for the first audio stream and the container.
QString probe(const QString &path)
{
    return run(u"ffprobe"_s, {u"-v"_s, u"error"_s, u"-show_entries"_s,
                              u"stream=codec_name,sample_rate,channels:format_tags=artist,title,genre"_s,
                              u"-of"_s, u"default=nw=1"_s, path});
}

double seconds(const QString &path)
{
    return run(u"soxi"_s, {u"-D"_s, path}).toDouble();
}

struct AmrFrames
{
    QString problem;
    int count = 0;
    int speech = 0; // frames of speech, all of the expected mode
};

// AMR-NB storage format: "#!AMR\n", then 20 ms frames, each a header byte whose bits 3-6
// give its type and that type's fixed number of bytes: speech frames of the file's mode,
// and in pauses comfort-noise (type 8) or empty (type 15) frames.
AmrFrames amrFrames(const QString &path, int mode)
{
    static const int sizes[16] = {12, 13, 15, 17, 19, 20, 26, 31, 5, -1, -1, -1, -1, -1, -1, 0};
    QFile f(path);
    const QByteArray all = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    AmrFrames frames;
    if (!all.startsWith("#!AMR\n")) {
        frames.problem = u"no AMR header"_s;
        return frames;
    }
    qsizetype at = 6;
    for (; at < all.size() && frames.problem.isEmpty(); ++frames.count) {
        const int type = (uchar(all[at]) >> 3) & 0x0F;
        if (type < 8 && type != mode)
            frames.problem = u"frame %1 has mode %2"_s.arg(frames.count).arg(type);
        else if (sizes[type] < 0)
            frames.problem = u"frame %1 has the unknown type %2"_s.arg(frames.count).arg(type);
        frames.speech += type == mode;
        at += 1 + sizes[type];
    }
    if (at != all.size())
        frames.problem += u" last frame cut short"_s;
    return frames;
}

class RealEncoders : public QuenvaleTest
{
protected:
    static void SetUpTestSuite()
    {
        speech::EspeakVoiceFactory factory(speech::EspeakVoiceFactory::Options{{}, true});
        auto voice = factory.create();
        ASSERT_TRUE(voice) << qPrintable(factory.errorString());
        ASSERT_TRUE(voice->OpenOutputFile(spoken(), 18)) << qPrintable(voice->LastError());
        ASSERT_TRUE(
            voice->Speak(u"Глава первая. Сержант гвардии. Отец мой Андрей Петрович Гринёв в молодости "
                         u"своей служил при графе Минихе."_s,
                         0));
        ASSERT_TRUE(voice->WaitUntilDone(60000));
        ASSERT_TRUE(voice->CloseOutputFile()) << qPrintable(voice->LastError());
    }

    static QString spoken()
    {
        static QTemporaryDir dir;
        return dir.filePath(u"spoken.wav"_s);
    }

    void SetUp() override
    {
        QuenvaleTest::SetUp();
        book = home() + u"/Тихий_Дон"_s;
        QDir().mkpath(book);
        paths = encoders::blockPaths(book, u"0001"_s, u"Тихий_Дон"_s, true);
        QFile::copy(spoken(), paths.wav);
        ::Setup &s = setup();
        s.Check6->setChecked(true);
        s.Text10->setText(u"Чтец"_s);
        s.Text14->setText(u"Том 1"_s);
        s.Text3->setText(u" -b32 -h -m m  --strictly-enforce-ISO "_s);
        s.Text12->setText(u"-q 1"_s);
    }

    bool encode(int format)
    {
        setup().SSTab1->setCurrentIndex(format);
        const bool ok = EncodeBlock(paths, u"0001"_s);
        EXPECT_TRUE(scriptedPrompter().asked.isEmpty()) << qPrintable(scriptedPrompter().asked.value(0).text);
        return ok;
    }

    QString book;
    encoders::BlockPaths paths;
};

} // namespace

TEST_F(RealEncoders, Mp3OggAndWmaAreReadBackWithTheirCodecsTagsAndLength)
{
    const double length = seconds(spoken());
    ASSERT_GT(length, 3.0);
    const struct
    {
        int format;
        QString file;
        QStringList probed;
    } cases[] = {
        {encoders::Mp3,
         paths.mp3,
         {u"codec_name=mp3"_s, u"sample_rate=16000"_s, u"channels=1"_s, u"TAG:artist=Чтец"_s,
          u"TAG:title=Том 1"_s, u"TAG:genre=Speech"_s}},
        {encoders::Ogg, paths.ogg, {u"codec_name=vorbis"_s, u"sample_rate=16000"_s, u"channels=1"_s}},
        {encoders::Wma, paths.wma, {u"codec_name=wmav2"_s, u"sample_rate=16000"_s, u"channels=1"_s}},
    };
    for (const auto &c : cases) {
        QFile::copy(spoken(), paths.wav);
        ASSERT_TRUE(encode(c.format)) << c.format;
        const QString found = probe(c.file);
        for (const QString &line : c.probed)
            EXPECT_TRUE(found.contains(line)) << qPrintable(line) << " in\n" << qPrintable(found);
        EXPECT_NEAR(run(u"ffprobe"_s, {u"-v"_s, u"error"_s, u"-show_entries"_s, u"format=duration"_s,
                                       u"-of"_s, u"default=nw=1:nk=1"_s, c.file})
                        .toDouble(),
                    length, 0.2)
            << qPrintable(c.file);
    }
    EXPECT_EQ(QDir(book).entryList(QDir::Files, QDir::Name),
              QStringList({u"0001.ogg"_s, u"0001_Тихий_Дон.mp3"_s, u"0001_Тихий_Дон.wma"_s}));
}

TEST_F(RealEncoders, AmrInBothModesHasTheModesFrames)
{
    const double length = seconds(spoken());
    const struct
    {
        bool lowRate;
        int mode; // 7: 12.2 kbit/s, 0: 4.75 kbit/s
    } cases[] = {{false, 7}, {true, 0}};
    for (const auto &c : cases) {
        QFile::copy(spoken(), paths.wav);
        setup().Option5->setChecked(!c.lowRate);
        setup().Option6->setChecked(c.lowRate);
        setup().Check7->setChecked(c.lowRate);
        ASSERT_TRUE(encode(encoders::Amr)) << c.mode;

        const AmrFrames frames = amrFrames(paths.amr, c.mode);
        EXPECT_TRUE(frames.problem.isEmpty()) << qPrintable(frames.problem);
        // The MP3 road adds the MP3 coder's padding, a few frames.
        EXPECT_NEAR(frames.count * 0.02, length, 0.25) << c.mode;
        EXPECT_GT(frames.speech, frames.count / 2) << c.mode;
        EXPECT_TRUE(probe(paths.amr).contains(u"sample_rate=8000"_s));
        EXPECT_FALSE(QFile::exists(paths.wav));
        EXPECT_EQ(QFile::exists(paths.mp3), c.lowRate); // kept only when asked
    }
}

TEST_F(RealEncoders, MissingVmoConverterKeepsTheWavAndSaysWhy)
{
    setup().SSTab1->setCurrentIndex(encoders::Vmo);
    EXPECT_FALSE(EncodeBlock(paths, u"0001"_s));
    ASSERT_EQ(scriptedPrompter().asked.size(), 1);
    EXPECT_EQ(scriptedPrompter().asked[0].text,
              u"Программа wav2vmo не смогла преобразовать блок 0001; звуковой файл блока сохранён.\n"_s +
                  paths.wav + u": программа wav2vmo не найдена ни в папке программы, ни в PATH"_s);
    EXPECT_EQ(seconds(paths.wav), seconds(spoken()));
    EXPECT_TRUE(StopFlag);
}
