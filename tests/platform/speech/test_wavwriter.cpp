#include "platform/speech/wavwriter.h"

#include "wavcheck.h"

#include <csignal>
#include <vector>

#include <sys/resource.h>

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
    QString file = dir.filePath(QStringLiteral("out.wav"));
};

TEST_F(WavWriterTest, SilenceAndSamplesAreExactToTheByte)
{
    EXPECT_EQ(write(39, {}, 1000).data, QByteArray(192000, '\0'));
    // The headers as an independent reader sees them.
    EXPECT_EQ(soxInfo(file), QStringLiteral("48000|2|16|Signed Integer PCM|48000"));
    // 8-bit samples are unsigned; 1 ms at 11.025 kHz is an odd data chunk, which takes a pad byte.
    EXPECT_EQ(write(8, {}, 1).data, QByteArray(11, char(0x80)));
    EXPECT_EQ(write(4, {0, 32767, -32768, 256, -1}, 0, 8000).data, QByteArray::fromHex("80ff00817f"));
    EXPECT_EQ(soxInfo(file), QStringLiteral("8000|1|8|Unsigned Integer PCM|5"));
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
        if (f.bits == 16) {
            EXPECT_NEAR(f.rms(), 10000 / std::sqrt(2.0), 300);
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
    EXPECT_FALSE(written);
    EXPECT_EQ(w.errorString(), QStringLiteral("Ошибка записи файла %1: File too large").arg(file));
}

} // namespace
