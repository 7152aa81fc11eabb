#include "speech/wavwriter.h"

#include "wavcheck.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using speech::AudioFormat;
using speech::WavWriter;

namespace {

class WavWriterTest : public testing::Test
{
protected:
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

std::vector<qint16> sine(int rate, double seconds, double hz, double amplitude)
{
    std::vector<qint16> s(static_cast<size_t>(rate * seconds));
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<qint16>(std::lround(amplitude * std::sin(2 * M_PI * hz * double(i) / rate)));
    return s;
}

double rms16(const WavFile &w)
{
    double sum = 0;
    for (qint64 i = 0; i < w.frames() * w.channels; ++i)
        sum += double(w.sample16(i)) * w.sample16(i);
    return std::sqrt(sum / double(w.frames() * w.channels));
}

TEST(AudioFormatTest, TypesMapOntoRateBitsAndChannels)
{
    EXPECT_FALSE(AudioFormat::fromType(3));
    EXPECT_FALSE(AudioFormat::fromType(40));
    const auto first = *AudioFormat::fromType(4);
    EXPECT_EQ((std::tuple(first.sampleRate, first.bits, first.channels)), std::tuple(8000, 8, 1));
    const auto sapiDefault = *AudioFormat::fromType(22);
    EXPECT_EQ((std::tuple(sapiDefault.sampleRate, sapiDefault.bits, sapiDefault.channels)),
              std::tuple(22050, 16, 1));
    const auto elevenStereo = *AudioFormat::fromType(9);
    EXPECT_EQ((std::tuple(elevenStereo.sampleRate, elevenStereo.bits, elevenStereo.channels)),
              std::tuple(11025, 8, 2));
    const auto last = *AudioFormat::fromType(39);
    EXPECT_EQ((std::tuple(last.type, last.sampleRate, last.bits, last.channels)),
              std::tuple(39, 48000, 16, 2));
}

TEST_F(WavWriterTest, SilenceIsExactToTheSampleInEveryFormat)
{
    {
        WavWriter w(22050);
        ASSERT_TRUE(w.open(path("22.wav"), *AudioFormat::fromType(22)));
        ASSERT_TRUE(w.writeSilence(1000));
        ASSERT_TRUE(w.close());
        const WavFile f = readWav(path("22.wav"));
        ASSERT_TRUE(f.valid) << f.problem.toStdString();
        EXPECT_EQ(f.frames(), 22050);
        EXPECT_EQ(f.data, QByteArray(44100, '\0'));
    }
    {
        // 8-bit samples are unsigned: silence is 128.
        WavWriter w(22050);
        ASSERT_TRUE(w.open(path("4.wav"), *AudioFormat::fromType(4)));
        ASSERT_TRUE(w.writeSilence(1000));
        ASSERT_TRUE(w.close());
        const WavFile f = readWav(path("4.wav"));
        ASSERT_TRUE(f.valid) << f.problem.toStdString();
        EXPECT_EQ(f.data, QByteArray(8000, char(0x80)));
    }
    {
        // 1 ms at 11.025 kHz is 11 one-byte samples: the odd data chunk gets its pad byte.
        WavWriter w(22050);
        ASSERT_TRUE(w.open(path("8.wav"), *AudioFormat::fromType(8)));
        ASSERT_TRUE(w.writeSilence(1));
        ASSERT_TRUE(w.close());
        const WavFile f = readWav(path("8.wav"));
        ASSERT_TRUE(f.valid) << f.problem.toStdString();
        EXPECT_EQ(f.frames(), 11);
        EXPECT_EQ(QFileInfo(path("8.wav")).size(), 44 + 12);
    }
}

TEST_F(WavWriterTest, SamplesAreConvertedToEightBitAndCopiedToBothChannels)
{
    const std::vector<qint16> samples = {0, 32767, -32768, 256, -1};
    {
        WavWriter w(8000);
        ASSERT_TRUE(w.open(path("u8.wav"), *AudioFormat::fromType(4)));
        ASSERT_TRUE(w.writeSpeech(samples.data(), samples.size()));
        ASSERT_TRUE(w.close());
        const WavFile f = readWav(path("u8.wav"));
        ASSERT_TRUE(f.valid) << f.problem.toStdString();
        EXPECT_EQ(f.data, QByteArray::fromHex("80ff00817f"));
    }
    {
        WavWriter w(22050);
        ASSERT_TRUE(w.open(path("s16.wav"), *AudioFormat::fromType(23)));
        ASSERT_TRUE(w.writeSpeech(samples.data(), 2));
        ASSERT_TRUE(w.close());
        const WavFile f = readWav(path("s16.wav"));
        ASSERT_TRUE(f.valid) << f.problem.toStdString();
        EXPECT_EQ(f.data, QByteArray::fromHex("00000000ff7fff7f"));
    }
}

TEST_F(WavWriterTest, ResamplingKeepsDurationAndLevel)
{
    const std::vector<qint16> tone = sine(22050, 1.0, 440, 10000);
    for (int type : {39, 4, 18}) {
        const auto format = *AudioFormat::fromType(type);
        const QString file = path("tone.wav");
        WavWriter w(22050);
        ASSERT_TRUE(w.open(file, format));
        // In pieces, as the engine delivers them.
        for (size_t at = 0; at < tone.size(); at += 1103)
            ASSERT_TRUE(w.writeSpeech(tone.data() + at, std::min<size_t>(1103, tone.size() - at)));
        ASSERT_TRUE(w.close());
        const WavFile f = readWav(file);
        ASSERT_TRUE(f.valid) << f.problem.toStdString();
        EXPECT_NEAR(f.frames(), format.sampleRate, 2) << "type " << type;
        if (format.bits == 16) {
            EXPECT_NEAR(rms16(f), 10000 / std::sqrt(2.0), 300) << "type " << type;
        }
    }
}

TEST_F(WavWriterTest, HeaderIsCompleteAfterEverySyncAndAgainAfterClose)
{
    WavWriter w(22050);
    ASSERT_TRUE(w.open(path("sync.wav"), *AudioFormat::fromType(22)));
    const std::vector<qint16> tone = sine(22050, 0.5, 300, 5000);
    ASSERT_TRUE(w.writeSpeech(tone.data(), tone.size()));
    ASSERT_TRUE(w.sync());
    EXPECT_EQ(readWav(path("sync.wav")).frames(), qint64(tone.size()));
    ASSERT_TRUE(w.writeSilence(100));
    ASSERT_TRUE(w.close());
    const WavFile f = readWav(path("sync.wav"));
    ASSERT_TRUE(f.valid) << f.problem.toStdString();
    EXPECT_EQ(f.frames(), qint64(tone.size()) + 2205);
}

TEST_F(WavWriterTest, FailuresAreReported)
{
    WavWriter missing(22050);
    EXPECT_FALSE(missing.open(path("no/such/folder/x.wav"), *AudioFormat::fromType(22)));
    EXPECT_FALSE(missing.errorString().isEmpty());

    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    WavWriter full(22050);
    ASSERT_TRUE(full.open(QStringLiteral("/dev/full"), *AudioFormat::fromType(22)));
    full.writeSilence(1000);
    EXPECT_FALSE(full.sync());
    EXPECT_FALSE(full.close());
    EXPECT_FALSE(full.errorString().isEmpty());
    EXPECT_FALSE(full.writeSilence(10)) << "a broken file stays broken";
}

} // namespace
