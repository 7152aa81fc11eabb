// A real spoken block through the real encoders, checked by ffprobe and the AMR frames.
#include "recording/encodeblock.h"

#include "platform/speech/espeakvoice.h"
#include "settings/setup.h"
#include "support/fixture.h"
#include "support/jobs.h"
#include "support/scripted.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTabWidget>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The codec, rate, channels, tags and length as ffprobe reads them, one "key=value" a line.
QString probe(const QString &path)
{
    QProcess p;
    p.start(u"ffprobe"_s,
            {u"-v"_s, u"error"_s, u"-show_entries"_s,
             u"stream=codec_name,sample_rate,channels:format=duration:format_tags=artist,title"_s, u"-of"_s,
             u"default=nw=1"_s, path});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}
double seconds(const QString &probed)
{
    return probed.section(u"duration="_s, 1, 1).section(u'\n', 0, 0).toDouble();
}

// AMR-NB storage: "#!AMR\n", then 20 ms frames, each a header byte (type in bits 3-6) and
// that type's bytes: speech frames of the file's mode, comfort noise (8) or nothing (15) in
// pauses. Returns "speech frames/all frames", or what is wrong.
QString amrFrames(const QString &path, int mode)
{
    static const int sizes[16] = {12, 13, 15, 17, 19, 20, 26, 31, 5, -1, -1, -1, -1, -1, -1, 0};
    QFile f(path);
    const QByteArray all = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    if (!all.startsWith("#!AMR\n"))
        return u"no AMR header"_s;
    int frames = 0, speech = 0;
    qsizetype at = 6;
    for (; at < all.size(); at += 1 + sizes[(uchar(all[at]) >> 3) & 0x0F], ++frames) {
        const int type = (uchar(all[at]) >> 3) & 0x0F;
        if ((type < 8 && type != mode) || sizes[type] < 0)
            return u"frame %1 has type %2"_s.arg(frames).arg(type);
        speech += type == mode;
    }
    return at == all.size() ? u"%1/%2"_s.arg(speech).arg(frames) : u"last frame cut short"_s;
}

class RealEncoders : public QuenvaleTest
{
protected:
    static void SetUpTestSuite()
    {
        speech::EspeakVoiceFactory factory(speech::EspeakVoiceFactory::Options{{}, true});
        auto voice = factory.create();
        ASSERT_TRUE(voice && voice->OpenOutputFile(spoken(), 18)) << qPrintable(factory.errorString());
        voice->Speak(u"Отец мой Андрей Петрович Гринёв в молодости своей служил при графе Минихе."_s, 0);
        ASSERT_TRUE(voice->WaitUntilDone(60000) && voice->CloseOutputFile());
    }
    static QString spoken()
    {
        static QTemporaryDir dir;
        return dir.filePath(u"spoken.wav"_s);
    }
};

} // namespace

TEST_F(RealEncoders, EveryFormatIsReadBackWithItsCodecTagsAndLength)
{
    const double length = seconds(probe(spoken()));
    ASSERT_GT(length, 2.0);
    const QString book = home() + u"/Тихий_Дон"_s;
    QDir().mkpath(book);
    const encoders::BlockPaths paths = encoders::blockPaths(book, u"0001"_s, u"Тихий_Дон"_s, true);
    ::Setup &s = setup();
    s.Check6->setChecked(true);
    s.Text10->setText(u"Чтец"_s);
    s.Text14->setText(u"Том 1"_s);
    s.Text3->setText(u" -b32 -h -m m  --strictly-enforce-ISO "_s);
    // The Cyrillic tags must survive a program started under the C locale.
    const auto restore = qScopeGuard(
        [locale = qgetenv("LC_ALL")] { locale.isNull() ? qunsetenv("LC_ALL") : qputenv("LC_ALL", locale); });
    qputenv("LC_ALL", "C");
    s.Text12->setText(u"-q 1"_s);
    const std::tuple<int, bool, QString, const char *, int> cases[] = {
        {encoders::Mp3, false, paths.mp3, "mp3", 16000},   {encoders::Ogg, false, paths.ogg, "vorbis", 16000},
        {encoders::Wma, false, paths.wma, "wmav2", 16000}, {encoders::Amr, false, paths.amr, "amr_nb", 8000},
        {encoders::Amr, true, paths.amr, "amr_nb", 8000},
    };
    for (const auto &[format, lowRate, file, codec, rate] : cases) {
        SCOPED_TRACE(file.toStdString());
        ASSERT_TRUE(QFile::copy(spoken(), paths.wav));
        s.SSTab1->setCurrentIndex(format);
        s.Option6->setChecked(lowRate);
        const auto encoding = waitFor(EncodeBlock(paths, u"0001"_s, nullptr));
        ASSERT_TRUE(encoding->ok()) << qPrintable(encoding->failure());
        const QString found = probe(file);
        EXPECT_TRUE(found.startsWith(u"codec_name=%1\nsample_rate=%2\nchannels=1\nduration"_s.arg(
            QLatin1String(codec), QString::number(rate))))
            << qPrintable(found);
        double made = seconds(found);
        if (format == encoders::Amr) {
            const QString frames = amrFrames(file, lowRate ? 0 : 7); // 12.2 or 4.75 kbit/s
            EXPECT_GT(frames.section(u'/', 0, 0).toInt(), frames.section(u'/', 1, 1).toInt() / 2)
                << qPrintable(frames);
            made = frames.section(u'/', 1, 1).toInt() * 0.02;
        }
        // The AMR road goes through MP3 and its padding: a few frames more.
        EXPECT_NEAR(made, length, 0.25);
        EXPECT_FALSE(QFile::exists(paths.wav));
        if (format == encoders::Mp3) {
            EXPECT_TRUE(found.endsWith(u"TAG:artist=Чтец\nTAG:title=Том 1"_s)) << qPrintable(found);
            QFile mp3(file);
            ASSERT_TRUE(mp3.open(QIODevice::ReadOnly) && mp3.seek(mp3.size() - 128));
            EXPECT_FALSE(mp3.read(3) == "TAG"); // no version 1 tag with "????" for Cyrillic
        }
    }
    // Each format's own file; the AMR road's MP3 went.
    EXPECT_EQ(QDir(book).entryList(QDir::Files, QDir::Name),
              QStringList({u"0001.ogg"_s, u"0001_Тихий_Дон.amr"_s, u"0001_Тихий_Дон.mp3"_s,
                           u"0001_Тихий_Дон.wma"_s}));
}
