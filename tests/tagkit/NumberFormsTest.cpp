#include "tagkit/NumberForms.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

namespace {

using tagkit::DurationText;

TEST(DurationText, OneDecimalRoundedHalfAwayFromZero)
{
    EXPECT_EQ(DurationText(12.34, "."), "12.3");
    EXPECT_EQ(DurationText(12.35, "."), "12.4");
    EXPECT_EQ(DurationText(2.25, ","), "2,3");
    EXPECT_EQ(DurationText(59.96, "."), "60.0");
    EXPECT_EQ(DurationText(3600.0, "."), "3600.0");
}

TEST(DurationText, NoDigitIsForcedBeforeTheSeparator)
{
    EXPECT_EQ(DurationText(0.46, ","), ",5");
    EXPECT_EQ(DurationText(0.04, "."), ".0");
    EXPECT_EQ(DurationText(0.0, "."), ".0");
}

TEST(DurationText, NonsenseBecomesZeroRatherThanGarbage)
{
    EXPECT_EQ(DurationText(std::nan(""), "."), ".0");
}

TEST(LocaleDecimalSeparator, FollowsTheProcessNumericLocale)
{
    ASSERT_NE(std::setlocale(LC_NUMERIC, "C"), nullptr);
    EXPECT_EQ(tagkit::LocaleDecimalSeparator(), ".");
}

TEST(WithUnit, TheUnitBringsItsOwnBlank)
{
    EXPECT_EQ(tagkit::WithUnit(4096, " bytes"), "4096 bytes");
    EXPECT_EQ(tagkit::WithUnit(-5, " hz"), "-5 hz");
    EXPECT_EQ(tagkit::WithUnit(5'000'000'000LL, " bytes"), "5000000000 bytes");
}

} // namespace
