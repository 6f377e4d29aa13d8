#include "text/IntegerText.h"

#include <gtest/gtest.h>

namespace {

using text::ParseInt32;

TEST(ParseInt32, DecimalWithLeadingBlanksAndSign)
{
    EXPECT_EQ(ParseInt32("7"), 7);
    EXPECT_EQ(ParseInt32("  12"), 12);
    EXPECT_EQ(ParseInt32("-1"), -1);
    EXPECT_EQ(ParseInt32("+0"), 0);
    EXPECT_EQ(ParseInt32("007"), 7);
}

TEST(ParseInt32, HexadecimalAfterEachMarker)
{
    EXPECT_EQ(ParseInt32("$1F"), 31);
    EXPECT_EQ(ParseInt32("x10"), 16);
    EXPECT_EQ(ParseInt32("0xff"), 255);
    EXPECT_EQ(ParseInt32("-$10"), -16);
}

TEST(ParseInt32, TheWholeTextMustBeANumber)
{
    EXPECT_EQ(ParseInt32(""), std::nullopt);
    EXPECT_EQ(ParseInt32("   "), std::nullopt);
    EXPECT_EQ(ParseInt32("-"), std::nullopt);
    EXPECT_EQ(ParseInt32("$"), std::nullopt);
    EXPECT_EQ(ParseInt32("12 "), std::nullopt);
    EXPECT_EQ(ParseInt32("1/12"), std::nullopt);
    EXPECT_EQ(ParseInt32("x"), std::nullopt);
    EXPECT_EQ(ParseInt32("1.5"), std::nullopt);
    EXPECT_EQ(ParseInt32("\t5"), std::nullopt);
}

TEST(ParseInt32, OutOfThe32BitRangeIsNoNumberRatherThanAWrappedOne)
{
    EXPECT_EQ(ParseInt32("2147483647"), 2147483647);
    EXPECT_EQ(ParseInt32("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseInt32("2147483648"), std::nullopt);
    EXPECT_EQ(ParseInt32("-2147483649"), std::nullopt);
    EXPECT_EQ(ParseInt32("$80000000"), std::nullopt);
    EXPECT_EQ(ParseInt32("99999999999999999999999"), std::nullopt);
}

TEST(DecimalText, NegativeAndLarge)
{
    EXPECT_EQ(text::DecimalText(0), "0");
    EXPECT_EQ(text::DecimalText(-42), "-42");
    EXPECT_EQ(text::DecimalText(5'000'000'000LL), "5000000000");
}

} // namespace
