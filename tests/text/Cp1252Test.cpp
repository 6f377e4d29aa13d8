#include "text/Cp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1252, EveryByteSurvivesTheRoundTripThroughUtf8)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(text::Cp1252FromUtf8(text::Utf8FromCp1252(all)), all);
}

TEST(Cp1252, HighBytesMapToTheirTypographicCharacters)
{
    EXPECT_EQ(text::Utf8FromCp1252("\x80"), "\xE2\x82\xAC");   // euro sign
    EXPECT_EQ(text::Utf8FromCp1252("\x93x\x94"), "\xE2\x80\x9Cx\xE2\x80\x9D");
    EXPECT_EQ(text::Utf8FromCp1252("S\xE3o"), "S\xC3\xA3o");   // São
    EXPECT_EQ(text::CodePointFromCp1252(0x9F), U'\u0178');
    EXPECT_EQ(text::Cp1252FromCodePoint(U'\u0152'), '\x8C');
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    EXPECT_EQ(text::Cp1252FromCodePoint(U'\u0416'), '?');        // Cyrillic Zhe
    EXPECT_EQ(text::Cp1252FromUtf8("a\xE6\x97\xA5z"), "a?z");     // a CJK character
    EXPECT_EQ(text::Cp1252FromUtf8("\xF0\x9F\x8E\xB5"), "?");     // a musical note emoji
}

TEST(Cp1252, MalformedUtf8NeverSwallowsTheFollowingText)
{
    EXPECT_EQ(text::Cp1252FromUtf8("\xC3"), "?");
    EXPECT_EQ(text::Cp1252FromUtf8("\xC3" "A"), "?A");
    // A sequence cut short is one mark, by the end or by a byte that cannot continue it.
    EXPECT_EQ(text::Cp1252FromUtf8("\xE2\x82"), "?");
    EXPECT_EQ(text::Cp1252FromUtf8("\xF0\x9F\x8E" "x"), "?x");
    EXPECT_EQ(text::Cp1252FromUtf8("\xE2\x82\xC3\xA7"), "?\xE7");
    EXPECT_EQ(text::Cp1252FromUtf8("\x82\x82"), "??"); // continuation bytes alone: one mark each
    EXPECT_EQ(text::Cp1252FromUtf8("\xC0\xAF/"), "?/");           // overlong slash: one mark
    EXPECT_EQ(text::Cp1252FromUtf8("\xED\xA0\x80z"), "?z");       // lone surrogate: one mark
}

} // namespace
