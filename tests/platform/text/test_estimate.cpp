#include "platform/text/estimate.h"

#include <gtest/gtest.h>

TEST(Estimate, NoGroupingInAnyLocaleAndRatesOnlyFromMinusTenToTen)
{
    EXPECT_EQ(estimate::sizeText(2000000000, QLocale::c()), "1953125.0 kb");
    EXPECT_EQ(estimate::sizeText(2000000000, QLocale(QLocale::Russian, QLocale::Russia)), "1953125,0 kb");
    EXPECT_FALSE(estimate::charsPerMinute(11));
    EXPECT_FALSE(estimate::charsPerMinute(-11));
}
