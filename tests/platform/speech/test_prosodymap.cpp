#include "platform/speech/prosodymap.h"

#include <gtest/gtest.h>

namespace {

auto engine(int volume, int rate, int pitch)
{
    const auto e = speech::engineProsody({volume, rate, pitch});
    return std::tuple(e.volume, e.pitch, e.wordsPerMinute, e.wordGap);
}

TEST(ProsodyMap, EveryRateIsSlowerThanTheNextAndNumbersSpanTheEngineScales)
{
    for (int rate = -10; rate < 10; ++rate) {
        SCOPED_TRACE(rate);
        const auto [v1, p1, slowWpm, slowGap] = engine(100, rate, 0);
        const auto [v2, p2, fastWpm, fastGap] = engine(100, rate + 1, 0);
        EXPECT_TRUE(slowWpm < fastWpm || (slowWpm == fastWpm && slowGap > fastGap));
        EXPECT_GE(slowWpm, 80) << "eSpeak's slowest speed";
        EXPECT_TRUE(fastWpm == 80 || fastGap == 0) << "only the slowest speed stretches the gaps";
        EXPECT_LT(speech::targetCharsPerMinute(rate), speech::targetCharsPerMinute(rate + 1));
    }
    // Volume and pitch fill the engine's 0..100, 50 being the voice's own pitch.
    EXPECT_EQ(std::get<0>(engine(0, 0, 0)), 0);
    EXPECT_EQ(std::get<1>(engine(100, 0, 0)), 50);
    EXPECT_EQ(std::get<1>(engine(100, 0, -10)), 0);
    EXPECT_EQ(std::get<1>(engine(100, 0, 10)), 100);
    // Out-of-range numbers are held at the ends rather than read past the table.
    EXPECT_EQ(engine(-5, -99, -11), engine(0, -10, -10));
    EXPECT_EQ(engine(150, 99, 11), engine(100, 10, 10));
}

} // namespace
