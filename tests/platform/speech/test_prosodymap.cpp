#include "speech/prosodymap.h"

#include <gtest/gtest.h>

namespace {

TEST(ProsodyMap, EveryRateIsSlowerThanTheNextAndWithinTheEngineRange)
{
    for (int rate = -10; rate < 10; ++rate) {
        const auto slow = speech::engineProsody({100, rate, 0});
        const auto fast = speech::engineProsody({100, rate + 1, 0});
        EXPECT_TRUE(slow.wordsPerMinute < fast.wordsPerMinute ||
                    (slow.wordsPerMinute == fast.wordsPerMinute && slow.wordGap > fast.wordGap))
            << "rate " << rate;
        EXPECT_GE(slow.wordsPerMinute, 80) << "eSpeak's slowest speed";
        EXPECT_LT(speech::targetCharsPerMinute(rate), speech::targetCharsPerMinute(rate + 1));
    }
    // Out-of-range numbers are held at the ends rather than read past the table.
    EXPECT_EQ(speech::engineProsody({100, 99, 0}).wordsPerMinute,
              speech::engineProsody({100, 10, 0}).wordsPerMinute);
    EXPECT_EQ(speech::engineProsody({100, -99, 0}).wordGap, speech::engineProsody({100, -10, 0}).wordGap);
}

TEST(ProsodyMap, VolumeAndPitchSpanTheEngineScales)
{
    EXPECT_EQ(speech::engineProsody({0, 0, -10}).volume, 0);
    EXPECT_EQ(speech::engineProsody({100, 0, 0}).volume, 100);
    EXPECT_EQ(speech::engineProsody({100, 0, -10}).pitch, 0);
    EXPECT_EQ(speech::engineProsody({100, 0, 0}).pitch, 50);
    EXPECT_EQ(speech::engineProsody({100, 0, 10}).pitch, 100);
}

} // namespace
