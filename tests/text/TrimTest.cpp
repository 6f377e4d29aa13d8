#include "text/Trim.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

TEST(TrimBlanks, RemovesBlanksAndControlBytesAtBothEndsOnly)
{
    EXPECT_EQ(text::TrimBlanks("  Abc\t"), "Abc");
    EXPECT_EQ(text::TrimBlanks("\x01\x1F a  b \r\n"), "a  b");
    EXPECT_EQ(text::TrimBlanks("\0\0x\0"s), "x");
}

TEST(TrimBlanks, KeepsBytesFromTheHighHalf)
{
    EXPECT_EQ(text::TrimBlanks("\xA0name\xA0"), "\xA0name\xA0");
    EXPECT_EQ(text::TrimBlanks(" \x81 "), "\x81");
}

TEST(TrimBlanks, BlankOnlyTextBecomesEmpty)
{
    EXPECT_EQ(text::TrimBlanks(""), "");
    EXPECT_EQ(text::TrimBlanks(" \t\x20\x00"s), "");
}

} // namespace
